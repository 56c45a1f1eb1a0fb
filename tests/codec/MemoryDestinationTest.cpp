// The memory destination on its own, driven the way the library's encoders
// drive it: one byte at a time, empty_output_buffer as soon as the staging
// buffer is full, term_destination at the end.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "codec/ConversionState.h"
#include "codec/ErrorManager.h"
#include "codec/MemoryDestination.h"

namespace {

struct DestinationRig {
    struct jpeg_compress_struct cinfo;
    JpegErrorManager err;
    ConversionState state;
};

struct Written {
    std::vector<unsigned char> block;  // what was published
    bool published;
    size_t freeAtTerm;  // free_in_buffer when term_destination ran
    bool detached;
};

Written WriteThrough(size_t count)
{
    DestinationRig rig;
    memset(&rig, 0, sizeof rig);
    rig.cinfo.err = InitErrorManager(&rig.err);
    jpeg_create_compress(&rig.cinfo);
    rig.cinfo.client_data = &rig.state;
    Written w{};
    if (InstallMemoryDestination(&rig.cinfo) != 0)
        return w;
    struct jpeg_destination_mgr* dest = rig.cinfo.dest;
    (*dest->init_destination)(&rig.cinfo);
    for (size_t i = 0; i < count; i++) {
        *dest->next_output_byte++ = (JOCTET)(i * 13 + i / 4096);
        if (--dest->free_in_buffer == 0)
            (*dest->empty_output_buffer)(&rig.cinfo);
    }
    w.freeAtTerm = dest->free_in_buffer;
    (*dest->term_destination)(&rig.cinfo);
    w.detached = rig.cinfo.dest == nullptr;
    w.published = rig.state.result != nullptr;
    if (rig.state.result)
        w.block.assign(rig.state.result, rig.state.result + rig.state.resultSize);
    free(rig.state.result);
    jpeg_destroy_compress(&rig.cinfo);
    return w;
}

bool HoldsThePattern(const std::vector<unsigned char>& block)
{
    for (size_t i = 0; i < block.size(); i++)
        if (block[i] != (unsigned char)(i * 13 + i / 4096))
            return false;
    return true;
}

// Exactly 4096 x k bytes: the last full buffer is already in the block when
// term_destination runs, which must append nothing more (no empty 4096-byte
// tail, no duplicated chunk).
TEST(MemoryDestination, MultipleOf4096IsExact)
{
    for (size_t k : {1u, 2u, 5u}) {
        Written w = WriteThrough(4096 * k);
        EXPECT_EQ(w.freeAtTerm, 4096u);
        ASSERT_TRUE(w.published);
        EXPECT_EQ(w.block.size(), 4096 * k);
        EXPECT_TRUE(HoldsThePattern(w.block));
        EXPECT_TRUE(w.detached);
    }
}

// 4096 x k + r bytes: the block ends exactly at the last byte written.
TEST(MemoryDestination, RemainderIsAppendedExactly)
{
    for (size_t count : {1u, 2u, 4095u, 4097u, 3u * 4096u + 1234u}) {
        Written w = WriteThrough(count);
        ASSERT_TRUE(w.published) << count;
        EXPECT_EQ(w.block.size(), count);
        EXPECT_TRUE(HoldsThePattern(w.block)) << count;
        EXPECT_TRUE(w.detached);
    }
}

}  // namespace
