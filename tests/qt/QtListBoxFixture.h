#pragma once

#include "list/ComputerList.h"
#include "platform/qt/QtListBox.h"
#include "platform/qt/QtListView.h"
#include "platform/qt/QtPicture.h"
#include "ui/ListPointer.h"
#include "ui/RowPainter.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>
#include <string>
#include <vector>

inline constexpr QRgb IconColour = 0xFF2E93E2;
inline constexpr QRgb BadgeColour = 0xFF00CC33;

inline QImage Square(int size, QRgb colour)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// The list of the main window, wired to the list view's rules the way the
// main window wires it, with every event recorded.
class QtListBoxTest : public ::testing::Test
{
protected:
    QtListBoxTest()
    {
        TControlDecl decl;
        decl.Kind = TControlKind::ListBox;
        decl.Name = "ListBox1";
        decl.Bounds = { 0, 0, 283, 423 };
        decl.ItemHeight = 50;
        decl.Border = false;
        List = CreateQtListBox(decl, &Window, [](const std::function<void()>& handler) { handler(); });
        Computers = std::make_unique<TComputerList>(*List);

        List->OnDrawItem = [this](int row, const TRect& rect, TOwnerDrawState state, TCanvas& canvas) {
            Painter.Draw(canvas, rect, state.Selected, Computers->Text(row), Computers->Status(row));
        };
        List->OnMouseDown = [this](TMouseButton, TShiftState, TPoint at) {
            Events.push_back("down");
            SelectRowUnderPointer(*List, *Computers, at);
        };
        List->OnClick = [this] { Events.push_back("click " + std::to_string(List->ItemIndex())); };
        List->OnContextPopup = [this](TPoint at, bool& handled) {
            Events.push_back("popup " + std::to_string(at.X) + "," + std::to_string(at.Y));
            handled = SuppressContextMenu(*List, at);
        };
        Window.resize(283, 423);
        Window.show();
        QApplication::setActiveWindow(&Window);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Window));
    }

    QWidget& Viewport() { return *List->View().viewport(); }
    QImage Render()
    {
        // The view lays its rows out when its event loop turns.
        QApplication::processEvents();
        return List->View().grab().toImage();
    }

    void Press(Qt::MouseButton button, QPoint at) { QTest::mousePress(&Viewport(), button, {}, at); }
    void Release(Qt::MouseButton button, QPoint at) { QTest::mouseRelease(&Viewport(), button, {}, at); }

    QWidget Window;
    TQtPicture Icon { Square(32, IconColour) };
    TQtPicture Badge { Square(16, BadgeColour) };
    TRowPainter Painter { Icon, Badge };
    std::unique_ptr<TQtListBox> List;
    std::unique_ptr<TComputerList> Computers;
    std::vector<std::string> Events;
};
