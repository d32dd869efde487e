#include "platform/menu.h"

namespace tallyfold::platform {

std::vector<std::string> ConventionalKeys(StandardKey key) {
    switch (key) {
        case StandardKey::New:
            return {"Ctrl+N"};
        case StandardKey::Open:
            return {"Ctrl+O"};
        case StandardKey::Save:
            return {"Ctrl+S"};
        case StandardKey::SaveAs:
            return {"Ctrl+Shift+S"};
        case StandardKey::Quit:
            return {"Ctrl+Q"};
        case StandardKey::HelpContents:
            return {"F1"};
        case StandardKey::Close:
            return {"Ctrl+W"};
        case StandardKey::None:
            break;
    }
    return {};
}

std::vector<std::string> MenuItem::Keys() const {
    std::vector<std::string> keys = ConventionalKeys(standard);
    keys.insert(keys.end(), shortcuts.begin(), shortcuts.end());
    return keys;
}

}  // namespace tallyfold::platform
