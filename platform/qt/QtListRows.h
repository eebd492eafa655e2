#pragma once

#include <QAbstractListModel>
#include <vector>

// The rows of TQtListView: each row's text, shown and typed-ahead on, and the description that
// assistive technology reads after it.
class TQtListRows : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    QString Text(int row) const { return m_rows.at(static_cast<std::size_t>(row)).Text; }
    void AppendRow(const QString& text);
    void SetText(int row, const QString& text);
    void SetDescription(int row, const QString& description);
    void RemoveRow(int row);

private:
    struct TRow
    {
        QString Text;
        QString Description;
    };

    std::vector<TRow> m_rows;
};
