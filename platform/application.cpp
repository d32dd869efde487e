#include "platform/application.h"

namespace tallyfold::platform {

void Application::Start() {
    InitMainWindow();
    if (mainWindow_) {
        mainWindow_->Create();
        mainWindow_->Show();
    }
}

int Application::Run() {
    Start();
    return backend_->RunMessageLoop();
}

}  // namespace tallyfold::platform
