#pragma once

#include <string>

#include "box/card_box.h"
#include "platform/application.h"

namespace tallyfold {

class tHauptFenster;

/// The application: builds the main window titled "Tallyfold" with its status bar, menu 100,
/// accelerator table 1201 and the learning view as client.
class TMyApp : public platform::Application {
  public:
    TMyApp(platform::Backend& backend, tCardBox& box, std::string fileName);

    /// The client window, once the main window is built.
    tHauptFenster* Client() const { return client_; }

  protected:
    void InitMainWindow() override;

  private:
    tCardBox* box_;
    std::string fileName_;
    tHauptFenster* client_ = nullptr;
};

/// The vocabulary file named on the command line: the first argument after the program name,
/// or an empty text. Further arguments are ignored.
std::string FileNameFromArguments(int argc, const char* const* argv);

}  // namespace tallyfold
