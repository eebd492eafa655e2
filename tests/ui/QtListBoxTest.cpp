#include "list/Info.h"
#include "QtListBoxFixture.h"

#include <QAccessible>
#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>

namespace {

TEST_F(QtListBoxTest, RowsShowSelectionColoursIconAndBadgeAndTheWindowColourBelow)
{
    Computers->Append("online", TInfo(true));
    Computers->Append("offline", TInfo(false));
    Computers->Append("by hand", std::nullopt);
    Computers->SetSelection(0);
    const QImage image = Render();

    for (const QPoint corner : { QPoint(0, 0), QPoint(282, 0), QPoint(0, 49), QPoint(282, 49) })
        EXPECT_EQ(image.pixel(corner), 0xFF84ACDDu) << corner.x() << "," << corner.y();
    EXPECT_EQ(image.pixel(1, 1), 0xFFD0E5FFu);
    EXPECT_EQ(image.pixel(281, 48), 0xFFD0E5FFu);
    EXPECT_EQ(image.pixel(0, 50), 0xFFFFFFFFu);
    EXPECT_EQ(image.pixel(281, 98), 0xFFFFFFFFu);

    EXPECT_EQ(image.pixel(9, 9), BadgeColour);
    EXPECT_EQ(image.pixel(30, 30), IconColour);
    EXPECT_EQ(image.pixel(9, 59), IconColour);
    EXPECT_EQ(image.pixel(9, 109), IconColour);
    EXPECT_EQ(image.pixel(8, 109), 0xFFFFFFFFu);

    const QRgb window = List->View().palette().color(QPalette::Base).rgba();
    EXPECT_EQ(image.pixel(10, 150), window);
    EXPECT_EQ(image.pixel(282, 422), window);
}

TEST_F(QtListBoxTest, KeyboardFocusDrawsNoOutline)
{
    Computers->Append("a", std::nullopt);
    Computers->Append("b", std::nullopt);
    Computers->SetSelection(1);
    Window.setFocus();
    const QImage unfocused = Render();

    List->SetFocus();
    ASSERT_TRUE(List->Focused());
    // The current row without selection would carry a focus outline in most styles.
    List->View().selectionModel()->setCurrentIndex(List->View().model()->index(0, 0), QItemSelectionModel::NoUpdate);

    EXPECT_EQ(Render(), unfocused);
}

// Columns of the row, left to right, that hold any pixel darker than the fills.
int RightmostInk(const QImage& image, int top, int bottom)
{
    for (int x = image.width() - 1; x >= 0; --x)
        for (int y = top; y < bottom; ++y)
            if (qGray(image.pixel(x, y)) < 128)
                return x;
    return -1;
}

TEST_F(QtListBoxTest, LongTextIsCutFivePixelsBeforeTheRightEdgeAndNarrowerWithAScrollBar)
{
    const std::string longText(200, 'W');
    Computers->Append(longText, std::nullopt);
    int ink = RightmostInk(Render(), 16, 50);
    EXPECT_LT(ink, 278);
    EXPECT_GT(ink, 260);
    EXPECT_EQ(List->ClientRect().Right, 283);

    for (int i = 0; i < 20; ++i)
        Computers->Append("row " + std::to_string(i), std::nullopt);
    QApplication::processEvents();
    ASSERT_TRUE(List->View().verticalScrollBar()->isVisible());
    EXPECT_EQ(List->View().horizontalScrollBar()->maximum(), 0);
    const int right = List->ClientRect().Right;
    EXPECT_LT(right, 283);
    EXPECT_EQ(List->ItemRect(0).Right, right);
    ink = RightmostInk(Render(), 16, 50);
    EXPECT_LT(ink, right - 5);
    EXPECT_GT(ink, right - 25);
}

TEST_F(QtListBoxTest, OnlyAPrimaryPressOrTheKeyboardRaisesTheClick)
{
    for (const char* text : { "alpha", "bravo", "charlie", "delta" })
        Computers->Append(text, std::nullopt);

    Press(Qt::RightButton, { 10, 60 });
    Release(Qt::RightButton, { 10, 60 });
    Press(Qt::MiddleButton, { 10, 110 });
    Release(Qt::MiddleButton, { 10, 110 });
    EXPECT_EQ(List->ItemIndex(), 2);

    Press(Qt::LeftButton, { 10, 10 });
    Release(Qt::LeftButton, { 10, 10 });
    EXPECT_EQ(List->ItemIndex(), 0);

    QTest::keyClick(&List->View(), Qt::Key_Down);
    QTest::keyClick(&List->View(), Qt::Key_D);
    EXPECT_EQ(List->ItemIndex(), 3);

    // Neither the program nor a deselecting key raises it, nor empties the selection.
    List->SetItemIndex(1);
    QTest::keyClick(&List->View(), Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(List->ItemIndex(), 1);

    EXPECT_EQ(Events, (std::vector<std::string> { "down", "down", "click 0", "down", "click 1", "click 3" }));
}

TEST_F(QtListBoxTest, PressesBelowTheLastRowKeepTheSelection)
{
    Computers->Append("a", std::nullopt);
    Computers->Append("b", std::nullopt);
    Computers->SetSelection(1);
    for (const auto button : { Qt::LeftButton, Qt::RightButton, Qt::MiddleButton }) {
        Press(button, { 10, 300 });
        Release(button, { 10, 300 });
    }
    EXPECT_EQ(List->ItemIndex(), 1);
    EXPECT_EQ(Events, (std::vector<std::string> { "down", "down", "down" }));
}

TEST_F(QtListBoxTest, DeletingTheSelectedRowLeavesNoneSelectedAndAllWhite)
{
    Computers->Append("a", std::nullopt);
    Computers->Append("b", std::nullopt);
    Computers->SetSelection(0);

    Computers->Delete(0);

    EXPECT_EQ(List->ItemIndex(), -1);
    const QImage image = Render();
    EXPECT_EQ(image.pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(image.pixel(1, 1), 0xFFFFFFFFu);
}

// Eight rows fit whole in the 423-pixel list; the ninth, row 8, shows only its top 23 pixels.
class QtListBoxOverflowTest : public QtListBoxTest
{
protected:
    void Fill(int rows)
    {
        for (int row = 0; row < rows; ++row)
            Computers->Append("row " + std::to_string(row), std::nullopt);
        QApplication::processEvents();
    }

    static constexpr QPoint PartlyVisibleRow { 20, 410 };
};

TEST_F(QtListBoxOverflowTest, AClickOnThePartlyVisibleRowOpensAndSelectsThatRowWhileTheListScrolls)
{
    Fill(12);
    // Opening waits, pumping events, as the viewer does: the button comes up meanwhile, and Qt
    // scrolls the pressed row into view.
    List->OnClick = [this] {
        Events.push_back("open " + std::to_string(List->ItemIndex()));
        Release(Qt::LeftButton, PartlyVisibleRow);
        EXPECT_TRUE(QTest::qWaitFor([this] { return List->TopIndex() > 0; }, 3000));
    };

    Press(Qt::LeftButton, PartlyVisibleRow);

    EXPECT_EQ(Events, (std::vector<std::string> { "open 8", "down" }));
    EXPECT_EQ(List->ItemIndex(), 8);
}

TEST_F(QtListBoxOverflowTest, ARightClickOnThePartlyVisibleLastRowSelectsItAndShowsTheMenu)
{
    Fill(9);
    QMenu menu;
    QObject::connect(&menu, &QMenu::aboutToShow, [&] {
        Events.push_back("menu shown");
        QTimer::singleShot(0, &menu, &QMenu::close);
    });
    menu.addAction("Open");
    List->SetPopupMenu(&menu);

    Press(Qt::RightButton, PartlyVisibleRow);
    QContextMenuEvent request(QContextMenuEvent::Mouse, PartlyVisibleRow, Viewport().mapToGlobal(PartlyVisibleRow));
    QApplication::sendEvent(&Viewport(), &request);

    EXPECT_EQ(List->ItemIndex(), 8);
    ASSERT_EQ(Events.size(), 3u);
    EXPECT_EQ(Events[2], "menu shown");
}

class QtListBoxMenuTest : public QtListBoxTest
{
protected:
    QtListBoxMenuTest()
    {
        for (const char* caption : { "Open", "-", "Edit", "Delete" }) {
            if (std::string(caption) == "-") {
                Menu.addSeparator();
                continue;
            }
            QObject::connect(Menu.addAction(caption), &QAction::triggered,
                             [this, caption] { Events.push_back(std::string("chose ") + caption); });
        }
        QObject::connect(&Menu, &QMenu::aboutToShow, [this] { Events.push_back("menu shown"); });
        List->SetPopupMenu(&Menu);
        Computers->Append("a", std::nullopt);
        Computers->Append("b", std::nullopt);
    }

    void RequestMenu(QContextMenuEvent::Reason reason, QPoint at)
    {
        QContextMenuEvent event(reason, at, Viewport().mapToGlobal(at));
        QApplication::sendEvent(&Viewport(), &event);
    }

    QMenu Menu;
};

TEST_F(QtListBoxMenuTest, MenuOverARowOpensAtThePointerWithAccessKeys)
{
    Press(Qt::RightButton, { 20, 70 });
    QPoint shownAt;
    QTimer::singleShot(0, [&] {
        shownAt = Menu.pos();
        QTest::keyClick(&Menu, Qt::Key_E);
    });
    RequestMenu(QContextMenuEvent::Mouse, { 20, 70 });

    EXPECT_EQ(shownAt, Viewport().mapToGlobal(QPoint(20, 70)));
    EXPECT_EQ(Events, (std::vector<std::string> { "down", "popup 20,70", "menu shown", "chose Edit" }));
    EXPECT_EQ(List->ItemIndex(), 1);
    EXPECT_EQ(Menu.actions().at(0)->text(), "&Open");
    EXPECT_EQ(Menu.actions().at(3)->text(), "&Delete");
}

TEST_F(QtListBoxMenuTest, KeyboardRequestsAndTheAreaBelowTheRowsShowNoMenu)
{
    Computers->SetSelection(0);
    RequestMenu(QContextMenuEvent::Keyboard, { 10, 10 });
    RequestMenu(QContextMenuEvent::Mouse, { 10, 200 });

    EXPECT_EQ(Events, (std::vector<std::string> { "popup -1,-1", "popup 10,200" }));
}
} // namespace

// What a screen reader finds in the list: the interfaces Qt hands to the system's accessibility bridge.
// The bridge's own bookkeeping of rows and its events need a live bridge, which the end-to-end test has.
class QtListBoxAccessibilityTest : public QtListBoxTest
{
protected:
    QAccessibleInterface& Row(int row) { return *QAccessible::queryAccessibleInterface(&List->View())->child(row); }
    // The row's one action, as a screen reader asks for it.
    void Activate(int row)
    {
        QAccessibleActionInterface& action = *Row(row).actionInterface();
        ASSERT_EQ(action.actionNames().size(), 1);
        action.doAction(action.actionNames().first());
    }
    std::vector<QString> Descriptions() const
    {
        const QAbstractItemModel& rows = *List->View().model();
        std::vector<QString> descriptions;
        for (int row = 0; row < rows.rowCount(); ++row)
            descriptions.push_back(rows.index(row, 0).data(Qt::AccessibleDescriptionRole).toString());
        return descriptions;
    }
};

TEST_F(QtListBoxAccessibilityTest, RowsReadTheirTextAndStatusThroughChangesAndDeletes)
{
    Computers->Append("http://pc1:8080", TInfo(false));
    Computers->Append("typed:8080", std::nullopt);
    Computers->MergeDiscovered("http://pc2:8080");
    Computers->MergeDiscovered("http://PC1:8080");
    Computers->ReplaceText(2, "http://renamed:8080");

    EXPECT_EQ(Row(0).text(QAccessible::Name), "http://pc1:8080");
    EXPECT_EQ(Row(0).text(QAccessible::Description), "online");
    EXPECT_EQ(Row(1).text(QAccessible::Name), "typed:8080");
    EXPECT_EQ(Row(1).text(QAccessible::Description), "");
    EXPECT_EQ(Row(2).text(QAccessible::Name), "http://renamed:8080");
    EXPECT_EQ(Row(2).text(QAccessible::Description), "online");

    Computers->Delete(0);
    Computers->MarkAllOffline();
    EXPECT_EQ(Descriptions(), (std::vector<QString> { "", "offline" }));
}

TEST_F(QtListBoxAccessibilityTest, ActivatingARowSelectsItAndOpensItOnceTheRequestIsAnswered)
{
    for (const char* text : { "alpha", "bravo", "charlie" })
        Computers->Append(text, std::nullopt);

    Activate(1);
    EXPECT_TRUE(Events.empty());
    QApplication::processEvents();
    EXPECT_EQ(List->ItemIndex(), 1);
    EXPECT_TRUE(Row(1).state().focused);

    // The selected row stays selected and opens nothing; the program's selection opens nothing either.
    Activate(1);
    List->SetItemIndex(2);
    QApplication::processEvents();
    EXPECT_EQ(List->ItemIndex(), 2);
    EXPECT_EQ(Events, std::vector<std::string> { "click 1" });
}
