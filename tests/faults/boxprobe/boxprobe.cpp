// A Qt generic plugin that the fault tests load into the real program through Qt's own
// QT_QPA_GENERIC_PLUGINS, so the program itself needs no test hook: every message box the program
// shows is reported on stderr as one JSON line and answered with its default button, and with the
// option "close" the main window is closed as soon as it is shown.
#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <cstdio>

namespace {

void report(const QJsonObject &line)
{
    std::fprintf(stderr, "%s\n", QJsonDocument(line).toJson(QJsonDocument::Compact).constData());
    std::fflush(stderr);
}

class BoxProbe : public QObject {
public:
    explicit BoxProbe(bool closeWindow)
        : m_closeWindow(closeWindow)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        if (auto *box = qobject_cast<QMessageBox *>(watched))
            answer(box);
        else if (auto *window = qobject_cast<QMainWindow *>(watched); window && m_closeWindow && !m_closing)
            close(window);
        return false;
    }

private:
    // Answered once its modal loop runs.
    void answer(QMessageBox *box)
    {
        report({{QStringLiteral("box"), box->text()},
                {QStringLiteral("title"), box->windowTitle()},
                {QStringLiteral("icon"), int(box->icon())}});
        QPointer<QMessageBox> guard(box);
        QMetaObject::invokeMethod(
            box,
            [guard] {
                if (!guard)
                    return;
                QAbstractButton *button = guard->defaultButton();
                if (!button)
                    button = guard->escapeButton();
                if (button)
                    button->click();
                else
                    guard->done(0);
            },
            Qt::QueuedConnection);
    }

    // Closed once the event loop runs and no message box is open; a close the window refuses ends
    // the program with status 3.
    void close(QMainWindow *window)
    {
        m_closing = true;
        QMetaObject::invokeMethod(
            window, [this, guard = QPointer<QMainWindow>(window)] { closeLater(guard); },
            Qt::QueuedConnection);
    }
    void closeLater(QPointer<QMainWindow> window)
    {
        if (!window)
            return;
        if (QApplication::activeModalWidget()) {
            QMetaObject::invokeMethod(
                window, [this, window] { closeLater(window); }, Qt::QueuedConnection);
            return;
        }
        const bool closed = window->close();
        report({{QStringLiteral("close"), closed}});
        if (!closed)
            QCoreApplication::exit(3);
    }

    bool m_closeWindow;
    bool m_closing = false;
};

} // namespace

class BoxProbePlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "boxprobe.json")
public:
    QObject *create(const QString &key, const QString &option) override
    {
        if (key.compare(QStringLiteral("shihaiboxprobe"), Qt::CaseInsensitive) != 0)
            return nullptr;
        return new BoxProbe(option == QStringLiteral("close"));
    }
};

#include "boxprobe.moc"
