#include "platform/qt/QtListRows.h"

namespace {

// text with no more room than it needs. QString::fromUtf8 reserves a unit for every byte,
// twice what a text of non-ASCII characters takes, and a row keeps its text for good.
QString Kept(const QString& text)
{
    QString kept = text;
    kept.squeeze();
    return kept;
}

} // namespace

int TQtListRows::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant TQtListRows::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const TRow& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return row.Text;
    case Qt::AccessibleDescriptionRole:
        return row.Description;
    default:
        return {};
    }
}

void TQtListRows::AppendRow(const QString& text)
{
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_rows.push_back({ Kept(text), {} });
    endInsertRows();
}

void TQtListRows::SetText(int row, const QString& text)
{
    m_rows.at(static_cast<std::size_t>(row)).Text = Kept(text);
    emit dataChanged(index(row), index(row), { Qt::DisplayRole, Qt::EditRole });
}

void TQtListRows::SetDescription(int row, const QString& description)
{
    QString& current = m_rows.at(static_cast<std::size_t>(row)).Description;
    if (current == description)
        return;
    current = description;
    emit dataChanged(index(row), index(row), { Qt::AccessibleDescriptionRole });
}

void TQtListRows::RemoveRow(int row)
{
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}
