// Starts the skin library once for a whole test program, as the program's entry does.

#include "skinui/library/library.h"

#include <gtest/gtest.h>

namespace {

class LibraryStarted : public ::testing::Environment {
  public:
    void SetUp() override { skinui::Library::instance().startUp(); }
};

[[maybe_unused]] const auto* const registered =
    ::testing::AddGlobalTestEnvironment(new LibraryStarted);

} // namespace
