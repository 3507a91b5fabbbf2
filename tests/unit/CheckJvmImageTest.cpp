// The 32-bit image test on real libraries and on files that only pretend to be one.
#include "RuntimeFixtures.h"
#include "TestFiles.h"
#include "runtime/LibraryImage.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class CheckJvmImage : public ::testing::Test {
protected:
    bool handsOff(const std::wstring& path) { return isX86Library(path); }

    std::wstring fileWith(const std::string& bytes) {
        std::wstring path = temp / (L"image" + std::to_wstring(++counter) + L".dll");
        writeBytes(path, bytes);
        return path;
    }

    TempFolder temp;
    int counter = 0;
};

TEST_F(CheckJvmImage, OnlyA32BitLibraryHandsOff) {
    EXPECT_TRUE(handsOff(x86FixtureLibraryPath()));
    EXPECT_FALSE(handsOff(x64FixtureLibraryPath()));
}

TEST_F(CheckJvmImage, BrokenFilesAreNoImages) {
    std::string x86 = readBytes(x86FixtureLibraryPath());
    ASSERT_GT(x86.size(), 0x200u);
    uint32_t ntOffset = 0;
    std::memcpy(&ntOffset, x86.data() + 0x3C, 4);

    EXPECT_FALSE(handsOff(fileWith("")));
    EXPECT_FALSE(handsOff(fileWith("MZ")));
    EXPECT_FALSE(handsOff(fileWith(std::string(4096, '\xA5'))));
    EXPECT_FALSE(handsOff(fileWith(x86.substr(0, 0x40))));
    EXPECT_FALSE(handsOff(fileWith(x86.substr(0, ntOffset + 5)))) << "cut inside the machine field";
    EXPECT_TRUE(handsOff(fileWith(x86.substr(0, ntOffset + 6)))) << "the header fields alone suffice";
    EXPECT_FALSE(handsOff(temp / L"missing.dll"));
}

TEST_F(CheckJvmImage, NtOffsetPastTheEndIsNoImage) {
    std::string x86 = readBytes(x86FixtureLibraryPath());
    for (uint32_t offset :
         {static_cast<uint32_t>(x86.size()), static_cast<uint32_t>(x86.size() - 2), 0x7FFFFFF0u, 0xFFFFFFFFu}) {
        std::string crafted = x86;
        std::memcpy(&crafted[0x3C], &offset, 4);
        EXPECT_FALSE(handsOff(fileWith(crafted))) << offset;
    }
}

} // namespace
