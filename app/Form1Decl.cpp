#include "app/Form1Decl.h"

namespace {

constexpr TAnchors LeftTop { true, true, false, false };
constexpr TAnchors LeftTopBottom { true, true, false, true };
constexpr TAnchors AllSides { true, true, true, true };
constexpr TAnchors LeftBottom { true, false, false, true };
constexpr TAnchors RightBottom { false, false, true, true };

TControlDecl Control(TControlKind kind, std::string name, std::string caption, TBounds bounds, TAnchors anchors,
                     int tabOrder)
{
    TControlDecl decl;
    decl.Kind = kind;
    decl.Name = std::move(name);
    decl.Caption = std::move(caption);
    decl.Bounds = bounds;
    decl.Anchors = anchors;
    decl.TabOrder = tabOrder;
    return decl;
}

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
    controls.push_back(Control(TControlKind::Button, "Button2", "Find computers", { -1, 1, 287, 49 }, LeftTop, 3));
    controls.push_back(Control(TControlKind::Button, "Button1", "Add computer", { -1, 50, 287, 49 }, LeftTop, 0));

    auto listBox = Control(TControlKind::ListBox, "ListBox1", "", { 1, 101, 283, 423 }, LeftTopBottom, 1);
    listBox.Border = false;
    listBox.ItemHeight = 50;
    listBox.PopupMenu = "PopupMenu1";
    controls.push_back(listBox);

    auto webBrowser = Control(TControlKind::WebBrowser, "WebBrowser1", "", { 288, 1, 782, 524 }, AllSides, 2);
    webBrowser.ShowHint = true;
    controls.push_back(webBrowser);

    controls.push_back(Control(TControlKind::Label, "Label1", "", { 290, 529, 0, 13 }, LeftBottom, -1));

    auto helpLink = Control(TControlKind::Label, "Label2", "Read How to Monitor Computers Remotely",
                            { 823, 532, 241, 13 }, RightBottom, -1);
    helpLink.Bold = true;
    helpLink.FontColor = 0x3366CC;
    helpLink.Cursor = TCursorKind::HandPoint;
    helpLink.Transparent = true;
    controls.push_back(helpLink);

    auto progressBar = Control(TControlKind::ProgressBar, "ProgressBar1", "", { 1, 530, 283, 17 }, LeftBottom, -1);
    progressBar.Visible = false;
    progressBar.Max = 50;
    controls.push_back(progressBar);

    auto popupMenu = Control(TControlKind::PopupMenu, "PopupMenu1", "", {}, LeftTop, -1);
    popupMenu.Items
        = { { "ComputerOpen", "Open" }, { "N1", "-" }, { "ComputerEdit", "Edit" }, { "ComputerDelete", "Delete" } };
    controls.push_back(popupMenu);
    return form;
}
