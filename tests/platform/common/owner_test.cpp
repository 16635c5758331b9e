// The platform's owner: a part is made once and found again; the run's parts end when a run ends,
// the last made first, and are made anew after; the program's parts stay; slots are taken again, so
// that many runs in one program never run out of them.
#include "platform/common/owner.h"
#include "platform/runtime.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using platform::owner::Life;
using platform::owner::Part;

std::vector<std::string>& Ended() {
    return Part<std::vector<std::string>>(Life::Program);
}

struct RunA {
    int value = 0;
    ~RunA() { Ended().push_back("A"); }
};
struct RunB {
    int value = 0;
    ~RunB() { Ended().push_back("B"); }
};
struct Kept {
    int value = 0;
};

TEST(PlatformOwner, RunPartsEndLastMadeFirstAndComeBackNewProgramPartsStay) {
    platform::owner::EndRun();
    Ended().clear();
    Part<Kept>(Life::Program).value = 7;
    Part<RunA>(Life::Run).value = 1;
    Part<RunB>(Life::Run).value = 2;
    EXPECT_EQ(&Part<RunA>(Life::Run), &Part<RunA>(Life::Run));
    EXPECT_EQ(Part<RunB>(Life::Run).value, 2);

    platform::owner::EndRun();
    EXPECT_EQ(Ended(), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(Part<RunA>(Life::Run).value, 0);  // made anew
    EXPECT_EQ(Part<Kept>(Life::Program).value, 7);
}

template <int N>
struct Numbered {
    int value = N;
};

template <int... N>
void MakeAll(std::integer_sequence<int, N...>) {
    (Part<Numbered<N>>(Life::Run), ...);
}

// A test program starts hundreds of runs, each making its parts again.
TEST(PlatformOwner, ManyRunsNeverRunOutOfSlots) {
    for (int run = 0; run < 200; ++run) {
        MakeAll(std::make_integer_sequence<int, 20>());
        EXPECT_EQ(Part<Numbered<19>>(Life::Run).value, 19);
        platform::owner::EndRun();
    }
}

}  // namespace

namespace {

// A warning is told once in a run, and again in the next: what a run was told ends with it.
TEST(PlatformOwner, AWarningIsToldOnceARunAndAgainInTheNext) {
    platform::owner::EndRun();
    testing::internal::CaptureStderr();
    platform::Warn("the same thing went wrong");
    platform::Warn("the same thing went wrong");
    platform::owner::EndRun();
    platform::Warn("the same thing went wrong");
    const std::string told = testing::internal::GetCapturedStderr();
    std::size_t count = 0;
    for (std::size_t at = told.find("the same thing"); at != std::string::npos;
         at = told.find("the same thing", at + 1))
        ++count;
    EXPECT_EQ(count, 2u);
}

}  // namespace
