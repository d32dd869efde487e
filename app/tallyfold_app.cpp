#include "app/tallyfold_app.h"

#include <memory>

#include "app/main_window.h"
#include "resources/main_menu.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace tallyfold {

TMyApp::TMyApp(platform::Backend& backend, Document& document, FilePath fileName)
    : Application(backend), document_(&document), fileName_(std::move(fileName)) {}

void TMyApp::InitMainWindow() {
    auto client = std::make_unique<tHauptFenster>(GetBackend(), *document_, fileName_);
    client_ = client.get();
    char title[80];
    LoadString(ids::kStrTitle, title);
    auto frame = std::make_unique<platform::FrameWindow>(GetBackend(), title, std::move(client));
    frame->SetModeIndicators(platform::kIndicatorCapsLock | platform::kIndicatorNumLock);
    // Today's learning at a glance, beside the safety net's state (empty while it is whole).
    frame->AddStatusArea({ids::kTodayGadget, 20});
    frame->AddStatusArea({ids::kSafetyGadget, 18});
    frame->AddStatusArea({ids::kCountsGadget, 24});
    client_->SetStatusAreas(platform::StatusBarArea(*frame, 0),
                            platform::StatusBarArea(*frame, ids::kCountsGadget),
                            platform::StatusBarArea(*frame, ids::kSafetyGadget),
                            platform::StatusBarArea(*frame, ids::kTodayGadget));
    client_->SetFrame(*frame);
    frame->SetMenu(MainMenu());
    frame->SetInitialSize(600, 250);
    frame->SetAccelerators(MainAccelerators());
    SetMainWindow(std::move(frame));
}

}  // namespace tallyfold
