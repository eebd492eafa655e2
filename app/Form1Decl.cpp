#include "app/Form1Decl.h"

namespace {

constexpr TAnchors LeftTopBottom { true, true, false, true };
constexpr TAnchors AllSides { true, true, true, true };
constexpr TAnchors LeftBottom { true, false, false, true };
constexpr TAnchors RightBottom { false, false, true, true };

} // namespace

TFormDecl Form1Decl()
{
    TFormDecl form;
    form.Name = "Form1";
    form.Caption = "Ostrel";
    form.ClientWidth = 1072;
    form.ClientHeight = 551;
    form.StartMaximized = true;
    form.KeyPreview = true;
    form.IconResource = "ostrel";

    auto& controls = form.Controls;
    controls.push_back(ControlDecl(TControlKind::Button, "Button2", "Find computers", { -1, 1, 287, 49 }, 3));
    controls.push_back(ControlDecl(TControlKind::Button, "Button1", "Add computer", { -1, 50, 287, 49 }, 0));

    auto listBox = ControlDecl(TControlKind::ListBox, "ListBox1", "", { 1, 101, 283, 423 }, 1, LeftTopBottom);
    listBox.Border = false;
    listBox.ItemHeight = 50;
    listBox.PopupMenu = "PopupMenu1";
    listBox.AccessibleName = "Computers";
    controls.push_back(listBox);

    auto webBrowser = ControlDecl(TControlKind::WebBrowser, "WebBrowser1", "", { 288, 1, 782, 524 }, 2, AllSides);
    webBrowser.ShowHint = true;
    controls.push_back(webBrowser);

    // Empty most of the time, so a screen reader needs a name for it that is not its text.
    auto statusLine = ControlDecl(TControlKind::Label, "Label1", "", { 290, 529, 0, 13 }, -1, LeftBottom);
    statusLine.AccessibleName = "Status";
    controls.push_back(statusLine);

    auto helpLink = ControlDecl(TControlKind::Label, "Label2", "Read How to Monitor Computers Remotely",
                                { 823, 532, 241, 13 }, -1, RightBottom);
    helpLink.Bold = true;
    helpLink.FontColor = 0x3366CC;
    helpLink.Cursor = TCursorKind::HandPoint;
    helpLink.Transparent = true;
    controls.push_back(helpLink);

    auto progressBar = ControlDecl(TControlKind::ProgressBar, "ProgressBar1", "", { 1, 530, 283, 17 }, -1, LeftBottom);
    progressBar.Visible = false;
    progressBar.Max = 50;
    controls.push_back(progressBar);

    auto popupMenu = ControlDecl(TControlKind::PopupMenu, "PopupMenu1", "", {}, -1);
    popupMenu.Items
        = { { "ComputerOpen", "Open" }, { "N1", "-" }, { "ComputerEdit", "Edit" }, { "ComputerDelete", "Delete" } };
    controls.push_back(popupMenu);
    return form;
}
