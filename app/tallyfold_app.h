#pragma once

#include <string>

#include "document/document.h"
#include "platform/application.h"

namespace tallyfold {

class tHauptFenster;

/// The application: builds the main window titled "Tallyfold" with its status bar, menu 100,
/// accelerator table 1201 and the learning view as client.
class TMyApp : public platform::Application {
  public:
    TMyApp(platform::Backend& backend, Document& document, FilePath fileName);

    /// The client window, once the main window is built.
    tHauptFenster* Client() const { return client_; }

  protected:
    void InitMainWindow() override;

  private:
    Document* document_;
    FilePath fileName_;
    tHauptFenster* client_ = nullptr;
};

}  // namespace tallyfold
