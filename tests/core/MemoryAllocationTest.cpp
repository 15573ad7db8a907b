// The program's allocation operators: every request, an empty one included,
// gives a block of its own, and running out of memory ends the program
// instead of handing back a null block.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

namespace {

// Opaque to the optimiser, so that no allocation below is elided.
void* volatile g_sink = nullptr;

TEST(MemoryAllocation, GivesABlockOfItsOwnToEveryRequest)
{
    const size_t sizes[] = {0, 1, 30, 4096, 1u << 20};
    for (size_t size : sizes) {
        char* first = new char[size];
        char* second = new char[size];
        ASSERT_NE(first, nullptr) << size;
        ASSERT_NE(second, nullptr) << size;
        EXPECT_NE(first, second) << size;
        memset(first, 0x5A, size);
        memset(second, 0xA5, size);
        if (size > 0) {
            EXPECT_EQ(static_cast<unsigned char>(first[size - 1]), 0x5A) << size;
        }
        delete[] first;
        delete[] second;
    }
    int* single = new int(7);
    EXPECT_EQ(*single, 7);
    delete single;
}

TEST(MemoryAllocationDeathTest, EndsTheProgramWhenMemoryRunsOut)
{
    // msvcrt's abort ends the process with exit code 3.
    EXPECT_EXIT(
        {
            volatile size_t huge = SIZE_MAX / 2;
            g_sink = new char[huge];
            static_cast<char*>(g_sink)[0] = 1;
        },
        ::testing::ExitedWithCode(3), "");
}

} // namespace
