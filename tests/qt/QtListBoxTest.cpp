// What only the Qt list has: the action Qt's accessibility interfaces offer on a row. The
// list's other behaviour is in the widget scenarios (tests/widgets).
#include "QtListBoxFixture.h"

#include <QAccessible>

namespace {

// The interfaces Qt hands to the system's accessibility bridge. The bridge's own bookkeeping
// of rows and its events need a live bridge, which the end-to-end test has.
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
};

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

} // namespace
