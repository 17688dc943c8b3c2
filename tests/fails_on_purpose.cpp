// A test that fails on purpose with the program open, for the check that a failing test leaves
// no process and no work folder behind. Not part of the suite: that check runs it.
#include <gtest/gtest.h>

#include "gui_expectations.h"
#include "program_driver.h"

TEST(FailsOnPurpose, WithTheProgramOpen) {
    ProgramRun run;
    ASSERT_TRUE(run.Start(TYPICAL));
    FAIL() << "failed on purpose, with the program open";
}
