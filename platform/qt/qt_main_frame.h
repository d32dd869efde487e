#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <map>
#include <memory>

#include "platform/frame_window.h"
#include "platform/qt/qt_window_peer.h"

namespace tallyfold::platform::qt {

/// The main window: menu bar from the menu template, the client's controls in the central
/// area, and a status bar with the message area, the added text areas and the lock indicators.
/// Keys go to the accelerator table before any control sees them.
class MainFrame : public QMainWindow, public FramePeer {
  public:
    /// `settings` keeps the window's size and place between runs.
    MainFrame(FrameWindow& frame, Backend& settings);
    ~MainFrame() override;

    WindowPeer& Client() override { return *client_; }
    void SetStatusText(int area, std::string_view text) override;
    std::string StatusText(int area) const override;
    void Show() override;
    void Destroy() override;

    /// Lit when the lock is on, where the window system lets the program read it.
    bool CapsLockShown() const;
    bool NumLockShown() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenu();
    void BuildStatusBar();
    void UpdateLockIndicators();
    bool IsOwnKeyTarget(QObject* watched) const;

    FrameWindow* frame_;
    Backend* settings_;
    QWidget* clientArea_;
    std::unique_ptr<QtWindowPeer> client_;
    std::map<int, QLabel*> statusAreas_;
    QLabel* capsIndicator_ = nullptr;
    QLabel* numIndicator_ = nullptr;
    QTimer lockTimer_;
    bool closing_ = false;
    // An input method is composing in an edit of the window: its keys are its own until the
    // candidate is confirmed.
    bool composing_ = false;
};

/// The Caps Lock and Num Lock states, where the window system tells them (X11's keyboard
/// extension); nothing elsewhere.
struct LockStates {
    bool capsLock = false;
    bool numLock = false;
};
std::optional<LockStates> ReadLockStates();

}  // namespace tallyfold::platform::qt
