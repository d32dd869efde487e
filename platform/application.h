#pragma once

#include <memory>

#include "platform/backend.h"
#include "platform/frame_window.h"

namespace tallyfold::platform {

/// The application object: builds the main window in `InitMainWindow` and runs the message
/// loop until the program ends.
class Application {
  public:
    explicit Application(Backend& backend) : backend_(&backend) {}
    virtual ~Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    /// Builds, creates and shows the main window.
    void Start();
    /// `Start`, then the message loop; returns the program's exit code.
    int Run();

    FrameWindow* MainWindow() const { return mainWindow_.get(); }
    Backend& GetBackend() const { return *backend_; }

  protected:
    /// Builds the main window and hands it over with `SetMainWindow`.
    virtual void InitMainWindow() = 0;
    void SetMainWindow(std::unique_ptr<FrameWindow> frame) { mainWindow_ = std::move(frame); }

  private:
    Backend* backend_;
    std::unique_ptr<FrameWindow> mainWindow_;
};

}  // namespace tallyfold::platform
