#include "files/load_ahead.h"

#include <utility>

namespace tallyfold {

LoadAhead::LoadAhead(FilePath path) : path_(std::move(path)) {
    // The identity is taken before the file is read: a change during the read then shows.
    thread_ = std::thread([this] {
        identity_ = IdentityOf(path_);
        result_ = LoadVokFile(path_, box_);
    });
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
