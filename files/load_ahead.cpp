#include "files/load_ahead.h"

#include <utility>

namespace tallyfold {

LoadAhead::LoadAhead(FilePath path, Reading reading) : path_(std::move(path)) {
    if (reading == Reading::Now) {
        Read();
    } else {
        thread_ = std::thread([this] { Read(); });
    }
}

void LoadAhead::Read() {
    // The identity is taken before the file is read: a change during the read then shows.
    identity_ = IdentityOf(path_);
    result_ = LoadVokFile(path_, box_);
}

LoadAhead::~LoadAhead() {
    Wait();
}

void LoadAhead::Wait() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace tallyfold
