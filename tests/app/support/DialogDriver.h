#pragma once

// Driving modal dialogs from a GUI test: the test arms a handler, then
// triggers the command whose dialog runs its own event loop.

#include <QApplication>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class QAction;
class QFileDialog;
class QMainWindow;

// Runs `act` on the next modal dialog of type T as soon as it shows. `act`
// must close it.
template <typename T>
void OnNextModal(std::function<void(T*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(dialog);
    });
    timer->start();
}

// The widget of type W numbered `id` (property "controlId") in `window`, or null.
template <typename W>
W* NumberedControl(QWidget* window, int id)
{
    for (W* widget : window->findChildren<W*>())
        if (widget->property("controlId").toInt() == id)
            return widget;
    return nullptr;
}

// Goes to the file's folder, types its name and presses Enter.
void TypeFileName(QFileDialog* dialog, const QString& path);

// The action `text` of the menu bar's menu `menu`, or null.
QAction* MenuAction(QMainWindow& window, const QString& menu, const QString& text);

// Closes a dialog a test left standing (seen at two ticks five seconds
// apart), so a failing test cannot hang the run; `Stranded` tells.
class DialogWatchdog : public QObject {
public:
    DialogWatchdog();
    bool Stranded() const { return stranded; }
    void Reset() { stranded = false; }

private:
    QTimer timer;
    QPointer<QWidget> seen; // null once that dialog is gone
    bool stranded = false;
};
