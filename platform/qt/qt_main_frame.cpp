#include "platform/qt/qt_main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDataStream>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QThread>
#include <QUrl>
#include <QWindow>
#include <optional>
#include <vector>

#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_text.h"

namespace tallyfold::platform::qt {

namespace {

/// The client area: tells the client window its new size at every size event.
class ClientArea : public QWidget {
  public:
    ClientArea(FrameWindow& frame, QWidget* parent) : QWidget(parent), frame_(&frame) {}

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        frame_->Client().EvSize(width(), height());
        update();
    }

  private:
    FrameWindow* frame_;
};

std::optional<Key> KeyOf(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return Key::Virtual(kVkReturn);
        case Qt::Key_Escape:
            return Key::Virtual(kVkEscape);
        default:
            break;
    }
    const QString text = event.text();
    // The keys of commands are ASCII letters; any other character typed there is no command.
    if (text.size() == 1 && text[0].isPrint() && text[0].unicode() < 0x80) {
        return Key::Character(static_cast<char>(text[0].unicode()));
    }
    return std::nullopt;
}

}  // namespace

MainFrame::MainFrame(FrameWindow& frame, Backend& settings) : frame_(&frame), settings_(&settings) {
    setWindowTitle(FromUtf8(frame.Title()));
    clientArea_ = new ClientArea(frame, this);
    setCentralWidget(clientArea_);
    client_ = std::make_unique<QtWindowPeer>(*clientArea_, frame.Client());
    for (const ControlTemplate& control : frame.Client().OwnControls()) {
        client_->AddControl(control);
    }
    BuildMenu();
    BuildStatusBar();
    setAcceptDrops(true);
    if (frame.InitialWidth() > 0 && frame.InitialHeight() > 0) {
        resize(frame.InitialWidth(), frame.InitialHeight());
    }
    qApp->installEventFilter(this);
    connect(&lockTimer_, &QTimer::timeout, this, [this] { UpdateLockIndicators(); });
    lockTimer_.start(300);
    UpdateLockIndicators();
}

MainFrame::~MainFrame() {
    qApp->removeEventFilter(this);
}

namespace {

// The desktop's keys for a standard command; none where it has none (Quit on some).
QList<QKeySequence> StandardKeys(StandardKey key) {
    switch (key) {
        case StandardKey::New:
            return QKeySequence::keyBindings(QKeySequence::New);
        case StandardKey::Open:
            return QKeySequence::keyBindings(QKeySequence::Open);
        case StandardKey::Save:
            return QKeySequence::keyBindings(QKeySequence::Save);
        case StandardKey::SaveAs:
            return QKeySequence::keyBindings(QKeySequence::SaveAs);
        case StandardKey::Quit:
            return QKeySequence::keyBindings(QKeySequence::Quit);
        case StandardKey::HelpContents:
            return QKeySequence::keyBindings(QKeySequence::HelpContents);
        case StandardKey::Close:
            return QKeySequence::keyBindings(QKeySequence::Close);
        case StandardKey::None:
            break;
    }
    return {};
}

}  // namespace

void MainFrame::BuildMenu() {
    FrameWindow* frame = frame_;
    for (const MenuItem& popup : frame->Menu().popups) {
        QMenu* menu = menuBar()->addMenu(FromUtf8(popup.text));
        for (const MenuItem& item : popup.items) {
            if (item.IsSeparator()) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(FromUtf8(item.text));
            action->setData(item.command);
            QList<QKeySequence> keys = StandardKeys(item.standard);
            for (const std::string& shortcut : keys.isEmpty() ? item.Keys() : item.shortcuts) {
                keys << QKeySequence::fromString(QString::fromLatin1(shortcut.c_str()),
                                                 QKeySequence::PortableText);
            }
            action->setShortcuts(keys);
            const int command = item.command;
            connect(action, &QAction::triggered, this,
                    [frame, command] { frame->Command(command); });
        }
        // Shortcuts work whatever the menu showed last time; the command itself tells whether
        // there is anything to do.
        connect(menu, &QMenu::aboutToHide, this, [menu] {
            for (QAction* action : menu->actions()) {
                action->setEnabled(true);
            }
        });
        // Enabled states and check marks are asked anew each time the menu opens.
        connect(menu, &QMenu::aboutToShow, this, [frame, menu] {
            for (QAction* action : menu->actions()) {
                if (action->isSeparator()) {
                    continue;
                }
                const CommandState state = frame->QueryCommand(action->data().toInt());
                action->setEnabled(state.enabled);
                action->setVisible(state.visible);
                if (!state.text.empty() || !state.file.IsEmpty()) {
                    action->setText(FromUtf8(state.text) + FromPath(FilePath(state.FileInMenu())));
                }
                action->setCheckable(state.checked);
                action->setChecked(state.checked);
            }
        });
    }
}

void MainFrame::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    auto* message = new QLabel(bar);
    bar->addWidget(message, 1);
    statusAreas_[0] = message;
    const QFontMetrics metrics(bar->font());
    for (const StatusArea& area : frame_->StatusAreas()) {
        auto* label = new QLabel(bar);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(metrics.averageCharWidth() * area.widthChars);
        bar->addWidget(label);
        statusAreas_[area.id] = label;
    }
    auto indicator = [bar, &metrics](const char* text) {
        auto* label = new QLabel(QString::fromLatin1(text), bar);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("CAPS")) + 8);
        label->setEnabled(false);
        bar->addPermanentWidget(label);
        return label;
    };
    if ((frame_->ModeIndicators() & kIndicatorCapsLock) != 0) {
        capsIndicator_ = indicator("CAPS");
    }
    if ((frame_->ModeIndicators() & kIndicatorNumLock) != 0) {
        numIndicator_ = indicator("NUM");
    }
}

void MainFrame::UpdateLockIndicators() {
    const std::optional<LockStates> states = ReadLockStates();
    if (capsIndicator_ != nullptr) {
        capsIndicator_->setEnabled(states && states->capsLock);
    }
    if (numIndicator_ != nullptr) {
        numIndicator_->setEnabled(states && states->numLock);
    }
}

bool MainFrame::CapsLockShown() const {
    return capsIndicator_ != nullptr && capsIndicator_->isEnabled();
}

bool MainFrame::NumLockShown() const {
    return numIndicator_ != nullptr && numIndicator_->isEnabled();
}

void MainFrame::SetStatusText(int area, std::string_view text) {
    auto found = statusAreas_.find(area);
    if (found != statusAreas_.end()) {
        found->second->setText(FromUtf8(text));
    }
}

std::string MainFrame::StatusText(int area) const {
    auto found = statusAreas_.find(area);
    return found != statusAreas_.end() ? ToUtf8(found->second->text()) : std::string();
}

namespace {

constexpr std::string_view kGeometryKey = "window/geometry";

// The window's place kept by saveGeometry, if it reads as one: after a mark and its version,
// the rectangle of the frame.
std::optional<Rect> KeptFrame(const QByteArray& kept) {
    constexpr quint32 kGeometryMark = 0x1D9D0CB;
    QDataStream stream(kept);
    stream.setVersion(QDataStream::Qt_4_0);
    quint32 mark = 0;
    quint16 major = 0;
    quint16 minor = 0;
    QRect frame;
    stream >> mark >> major >> minor >> frame;
    if (stream.status() != QDataStream::Ok || mark != kGeometryMark) {
        return std::nullopt;
    }
    // QRect's right and bottom lie inside it.
    return RectFromEdges(frame.left(), frame.top(), frame.right() + 1LL, frame.bottom() + 1LL);
}

std::vector<Rect> ScreenRects() {
    std::vector<Rect> rects;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        rects.push_back({area.x(), area.y(), area.width(), area.height()});
    }
    return rects;
}

}  // namespace

void MainFrame::Show() {
    // The size and place the window had when it was last closed, where there is one that a
    // screen shows; else its first size, in the middle of the screen.
    const QByteArray kept = QByteArray::fromStdString(settings_->ReadSetting(kGeometryKey));
    const std::optional<Rect> frame = KeptFrame(kept);
    if (!frame || !ShowsOnAScreen(*frame, ScreenRects()) || !restoreGeometry(kept)) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    }
    show();
    // The program's first questions (a crash's changes to restore, a file that could not be
    // read) come once this returns. A window manager places them over the window only once the
    // window is on screen; before, some put them in a corner of the screen. The wait is
    // bounded: a window system that never tells is not waited for.
    QElapsedTimer waited;
    waited.start();
    while (windowHandle() != nullptr && !windowHandle()->isExposed() && waited.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!windowHandle()->isExposed()) {
            QThread::msleep(2);
        }
    }
}

void MainFrame::Destroy() {
    closing_ = true;
    close();
}

void MainFrame::closeEvent(QCloseEvent* event) {
    if (closing_ || frame_->CanClose()) {
        closing_ = true;
        settings_->WriteSetting(kGeometryKey, saveGeometry().toStdString());
        event->accept();
        // The program ends with its main window, also while the help window is open.
        QCoreApplication::quit();
    } else {
        event->ignore();
    }
}

namespace {

// The first local file among dragged or dropped data, as the bytes of its name.
std::optional<FilePath> DroppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return std::nullopt;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            return FilePath(QFile::encodeName(url.toLocalFile()).toStdString());
        }
    }
    return std::nullopt;
}

}  // namespace

void MainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedFile(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void MainFrame::dropEvent(QDropEvent* event) {
    if (const std::optional<FilePath> file = DroppedFile(event->mimeData())) {
        event->acceptProposedAction();
        frame_->Client().EvDropFile(*file);
    }
}

bool MainFrame::IsOwnKeyTarget(QObject* watched) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget != nullptr && widget->window() == this &&
           QApplication::activePopupWidget() == nullptr &&
           QApplication::activeModalWidget() == nullptr;
}

bool MainFrame::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        UpdateLockIndicators();
    }
    if ((type == QEvent::InputMethod || type == QEvent::FocusOut) &&
        qobject_cast<QLineEdit*>(watched) != nullptr) {
        composing_ = type == QEvent::InputMethod && IsOwnKeyTarget(watched) &&
                     !static_cast<const QInputMethodEvent&>(*event).preeditString().isEmpty();
    }
    if (type != QEvent::KeyPress || !IsOwnKeyTarget(watched)) {
        return QMainWindow::eventFilter(watched, event);
    }
    // A key the edit does not use goes on to the widgets around it: where the focus is decides.
    // Most input methods keep the keys they use to themselves; one that lets a key through
    // while it composes still has it used for the candidate, never as a command.
    const bool inEdit = qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr;
    const auto& keyEvent = static_cast<const QKeyEvent&>(*event);
    const bool plain =
        (keyEvent.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0;
    if (plain && !(inEdit && composing_)) {
        if (const std::optional<Key> key = KeyOf(keyEvent)) {
            if (frame_->TranslateAccelerator(*key, inEdit)) {
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace tallyfold::platform::qt
