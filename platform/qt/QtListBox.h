#pragma once

#include "platform/common/Dispatch.h"
#include "platform/Form.h"
#include "platform/ListBox.h"
#include "platform/qt/QtWidgetControl.h"

#include <memory>

class QMenu;
class QWidget;
class TQtListView;

// TListBox over a TQtListView. List coordinates are those of the view's
// client area (its viewport), which the rows and the events share.
class TQtListBox : public TQtWidgetControl<TListBox>
{
public:
    TQtListBox(const TControlDecl& decl, QWidget* parent, TDispatch dispatch);
    ~TQtListBox() override;

    int RowCount() const override;
    std::string RowText(int row) const override;
    void AppendRow(const std::string& text) override;
    void SetRowText(int row, const std::string& text) override;
    void SetRowDescription(int row, const std::string& description) override;
    void DeleteRow(int row) override;
    int ItemIndex() const override;
    void SetItemIndex(int row) override;
    void Invalidate() override;
    int TopIndex() const override;
    TRect ClientRect() const override;
    TRect ItemRect(int row) const override;

    // The menu shown at the pointer when OnContextPopup leaves a request unhandled.
    void SetPopupMenu(QMenu* menu);
    // Throws EOstrelError once the window has destroyed the view.
    TQtListView& View() const;

private:
    void CheckRow(int row) const;

    TDispatch m_dispatch;
};

std::unique_ptr<TQtListBox> CreateQtListBox(const TControlDecl& decl, QWidget* parent, TDispatch dispatch);
