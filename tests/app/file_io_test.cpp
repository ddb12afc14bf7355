// Bounded reads and the folder of a path.
#include "app/file_io.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace {

// A file of exactly the bound is read whole; one byte more is not read.
TEST(FileIo, ReadIsBoundedByteExactly) {
    char name[] = "/tmp/velmarix_file_io_XXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    const std::string bytes(1000, 'x');
    std::ofstream(name, std::ios::binary) << bytes;
    EXPECT_EQ(file_read_bounded(name, 1000), bytes);
    EXPECT_EQ(file_read_bounded(name, 999), "");
    unlink(name);
    EXPECT_EQ(file_read_bounded(name, 1000), "");  // gone
}

TEST(FileIo, FolderOfAPath) {
    EXPECT_EQ(file_folder_of("/a/b/c.ini"), "/a/b");
    EXPECT_EQ(file_folder_of("c.ini"), ".");
    EXPECT_EQ(file_folder_of("/c.ini"), "/");
}

}  // namespace
