#pragma once

#include <functional>
#include <QApplication>

// The QApplication with the two hooks Qt offers only through notify: the forms'
// key preview, and a last guard that keeps exceptions out of Qt's event loop.
class TQtEventApplication : public QApplication
{
public:
    // The program reads no command line: Qt gets only a program name.
    TQtEventApplication();

    bool notify(QObject* receiver, QEvent* event) override;

    // Gets every exception that escapes an event's delivery.
    std::function<void(std::exception_ptr)> OnEscapedException;
};
