#pragma once

#include "FakePlatform.h"
#include "list/ComputerList.h"
#include "platform/Form.h"

#include <initializer_list>
#include <memory>
#include <string>

// The part of the main window the list view and the viewer work on, built on
// the fake backend: a 283 x 423 list of 50-pixel rows, the web view and the
// status line.
struct TFakeMainWindow
{
    static TFormDecl Decl()
    {
        TFormDecl decl;
        decl.Name = "Form1";
        decl.Caption = "Ostrel 4.1.1";
        TControlDecl list;
        list.Kind = TControlKind::ListBox;
        list.Name = "ListBox1";
        list.Bounds = { 1, 101, 283, 423 };
        list.ItemHeight = 50;
        TControlDecl view;
        view.Kind = TControlKind::WebBrowser;
        view.Name = "WebBrowser1";
        TControlDecl status;
        status.Kind = TControlKind::Label;
        status.Name = "Label1";
        decl.Controls = { list, view, status };
        return decl;
    }

    TFakeMainWindow()
        : Form(Platform.CreateForm(Decl()))
        , Computers(Form->ListBox("ListBox1"))
    { }

    void Fill(std::initializer_list<std::string> texts)
    {
        for (const auto& text : texts)
            Computers.Append(text, std::nullopt);
    }

    TFakeForm& Fake() { return static_cast<TFakeForm&>(*Form); }
    TFakeListBox& List() { return Fake().Find<TFakeListBox>("ListBox1"); }
    TFakeWebBrowser& View() { return Fake().Find<TFakeWebBrowser>("WebBrowser1"); }
    TLabel& StatusLine() { return Form->Label("Label1"); }

    TFakePlatform Platform;
    std::unique_ptr<TForm> Form;
    TComputerList Computers;
};
