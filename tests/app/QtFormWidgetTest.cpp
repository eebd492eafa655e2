#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtPlatform.h"
#include "QtTestPlatform.h"

#include <gtest/gtest.h>
#include <QTimer>

namespace {

TFormDecl DialogDecl()
{
    TFormDecl decl;
    decl.Name = "Dialog";
    decl.Caption = "Dialog";
    decl.ClientWidth = 200;
    decl.ClientHeight = 100;
    decl.Controls.push_back(ControlDecl(TControlKind::Edit, "Edit1", "", { 8, 8, 150, 21 }, 0));
    return decl;
}

class QtFormWidgetTest : public ::testing::Test
{
protected:
    QtFormWidgetTest()
        : m_form(TestPlatform().CreateForm(DialogDecl()))
    { }

    TForm& Form() { return *m_form; }
    QWidget& Window() { return QtWindowOf(*m_form); }

    // Does act once the modal showing has begun, then returns ShowModal's result.
    int ShowModalAnd(const std::function<void()>& act)
    {
        QTimer::singleShot(0, [&] {
            visibleWhileModal = Window().isVisible();
            act();
        });
        return Form().ShowModal();
    }

    bool visibleWhileModal = false;

private:
    std::unique_ptr<TForm> m_form;
};

TEST_F(QtFormWidgetTest, ShowModalReturnsTheResultTheDialogSets)
{
    for (const int result : { TForm::ModalResultSave, TForm::ModalResultCancel }) {
        EXPECT_EQ(ShowModalAnd([&] { Form().SetModalResult(result); }), result);
        EXPECT_TRUE(visibleWhileModal);
        EXPECT_FALSE(Window().isVisible());
    }
}

TEST_F(QtFormWidgetTest, ClosingByTheFrameGivesCancel)
{
    bool asked = false;
    Form().OnCloseQuery = [&](bool&) { asked = true; };

    EXPECT_EQ(ShowModalAnd([&] { Window().close(); }), TForm::ModalResultCancel);
    EXPECT_TRUE(asked);
}

TEST_F(QtFormWidgetTest, CloseQueryCanRefuseTheClose)
{
    Form().OnCloseQuery = [](bool& canClose) { canClose = false; };

    const int result = ShowModalAnd([&] {
        Window().close();
        QTimer::singleShot(0, [&] {
            EXPECT_TRUE(Window().isVisible());
            Form().SetModalResult(TForm::ModalResultSave);
        });
    });

    EXPECT_EQ(result, TForm::ModalResultSave);
}

TEST_F(QtFormWidgetTest, EndOfProgramCancelsTheDialogAndEveryLaterShowing)
{
    EXPECT_EQ(ShowModalAnd([] { TestPlatform().Application().Terminate(); }), TForm::ModalResultCancel);

    bool shown = false;
    Form().OnShow = [&] { shown = true; };
    EXPECT_EQ(Form().ShowModal(), TForm::ModalResultCancel);
    EXPECT_FALSE(shown);
}

} // namespace
