#pragma once

// A table that is opened as it is made, for the tests that only read one file.

#include <gtest/gtest.h>

#include "table/dbf.h"
#include "table/file_path.h"

namespace tallyfold::testing {

class OpenTable : public tDBF {
  public:
    explicit OpenTable(const FilePath& path) { EXPECT_TRUE(Open(path)) << path.Bytes(); }
};

}  // namespace tallyfold::testing
