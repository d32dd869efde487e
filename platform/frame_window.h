#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/backend.h"
#include "platform/menu.h"
#include "platform/window.h"

namespace tallyfold::platform {

/// A text area of the status bar, after the message area.
struct StatusArea {
    int id = 0;
    int widthChars = 0;
};

/// Mode indicators a status bar can show after its text areas, one bit each.
enum ModeIndicator : unsigned {
    kIndicatorExtend = 1u << 0,
    kIndicatorCapsLock = 1u << 1,
    kIndicatorNumLock = 1u << 2,
};

/// The main window: a frame with a menu, accelerators and a status bar around a client window
/// that receives every command. The frame owns the client.
class FrameWindow {
  public:
    FrameWindow(Backend& backend, std::string title, std::unique_ptr<Window> client);
    ~FrameWindow();
    FrameWindow(const FrameWindow&) = delete;
    FrameWindow& operator=(const FrameWindow&) = delete;

    void SetMenu(MenuTemplate menu) { menu_ = std::move(menu); }
    void SetAccelerators(AcceleratorTable table) { accelerators_ = std::move(table); }
    void SetInitialSize(int width, int height);
    /// Adds a text area after the last area that is not a mode indicator.
    void AddStatusArea(StatusArea area) { statusAreas_.push_back(area); }
    void SetModeIndicators(unsigned indicators) { modeIndicators_ = indicators; }

    const std::string& Title() const { return title_; }
    const MenuTemplate& Menu() const { return menu_; }
    const AcceleratorTable& Accelerators() const { return accelerators_; }
    const std::vector<StatusArea>& StatusAreas() const { return statusAreas_; }
    unsigned ModeIndicators() const { return modeIndicators_; }
    int InitialWidth() const { return initialWidth_; }
    int InitialHeight() const { return initialHeight_; }
    Window& Client() { return *client_; }

    /// Creates the frame and the client's controls through the backend and sets the client up.
    void Create();
    void Show();
    bool IsCreated() const { return peer_ != nullptr; }

    /// Offers a key to the accelerator table; a match becomes the client's command (true).
    /// With `inEdit` (an edit has the focus), only the keys `AcceleratorTakesFromEdit` allows.
    bool TranslateAccelerator(const Key& key, bool inEdit = false);
    /// A menu command: routed to the client when its enabler allows it.
    void Command(int id);
    CommandState QueryCommand(int id) { return client_->QueryCommand(id); }
    /// Asks the client's close query; true when the frame may close.
    bool CanClose() { return client_->CanClose(); }
    /// Closes the frame if the close query agrees; true if it closed.
    bool Close();

    void SetStatusText(int area, std::string_view text);
    std::string StatusText(int area) const;

  private:
    Backend* backend_;
    std::string title_;
    std::unique_ptr<Window> client_;
    MenuTemplate menu_;
    AcceleratorTable accelerators_;
    std::vector<StatusArea> statusAreas_;
    unsigned modeIndicators_ = 0;
    int initialWidth_ = 0;
    int initialHeight_ = 0;
    std::unique_ptr<FramePeer> peer_;
};

/// One area of the main window's status bar, as the client addresses it.
class StatusBarArea {
  public:
    StatusBarArea() = default;
    StatusBarArea(FrameWindow& frame, int area) : frame_(&frame), area_(area) {}
    void SetText(std::string_view text) const {
        if (frame_ != nullptr) {
            frame_->SetStatusText(area_, text);
        }
    }
    std::string Text() const {
        return frame_ != nullptr ? frame_->StatusText(area_) : std::string();
    }

  private:
    FrameWindow* frame_ = nullptr;
    int area_ = 0;
};

}  // namespace tallyfold::platform
