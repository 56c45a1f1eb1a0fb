// The memory source on its own: chunk sizes, skipping, the EOI it inserts.

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include <jerror.h>

#include "codec/ConversionState.h"
#include "codec/ErrorManager.h"
#include "codec/MemorySource.h"
#include "tests/codec/CodecTestSupport.h"

namespace {

// Plain C data only: the test's libjpeg calls sit behind a setjmp.
struct SourceRig {
    struct jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    ConversionState state;
};

void SetUpRig(SourceRig* rig, const unsigned char* input, size_t size)
{
    memset(rig, 0, sizeof *rig);
    rig->state.input = input;
    rig->state.inputLength = size;
    rig->cinfo.err = InitErrorManager(&rig->err);
    jpeg_create_decompress(&rig->cinfo);
    rig->cinfo.client_data = &rig->state;
    InstallMemorySource(&rig->cinfo);
    (*rig->cinfo.src->init_source)(&rig->cinfo);
}

// Calls fill_input_buffer; returns the library's message code if it raised a
// fatal error, else 0.
int Fill(SourceRig* rig)
{
    if (setjmp(rig->err.jump))
        return rig->err.pub.msg_code;
    (*rig->cinfo.src->fill_input_buffer)(&rig->cinfo);
    return 0;
}

std::vector<unsigned char> Pattern(size_t size)
{
    std::vector<unsigned char> v(size);
    for (size_t i = 0; i < size; i++)
        v[i] = (unsigned char)(i * 7 + i / 251);
    return v;
}

// 4096-byte chunks in order, the remainder, then an EOI with a warning that
// is printed once however often the library asks again.
TEST(MemorySource, DeliversChunksThenInsertsEoi)
{
    std::vector<unsigned char> input = Pattern(10000);
    SourceRig rig;
    SetUpRig(&rig, input.data(), input.size());
    CStderrCapture capture;
    size_t offset = 0;
    for (size_t expected : {4096u, 4096u, 1808u}) {
        ASSERT_EQ(Fill(&rig), 0);
        ASSERT_EQ(rig.cinfo.src->bytes_in_buffer, expected);
        EXPECT_EQ(memcmp(rig.cinfo.src->next_input_byte, input.data() + offset, expected), 0);
        offset += expected;
    }
    for (int i = 0; i < 3; i++) {
        ASSERT_EQ(Fill(&rig), 0);
        ASSERT_EQ(rig.cinfo.src->bytes_in_buffer, 2u);
        EXPECT_EQ(rig.cinfo.src->next_input_byte[0], 0xFF);
        EXPECT_EQ(rig.cinfo.src->next_input_byte[1], JPEG_EOI);
    }
    EXPECT_EQ(rig.err.pub.num_warnings, 3);
    EXPECT_EQ(capture.Text(), "Premature end of JPEG file\n");
    jpeg_destroy_decompress(&rig.cinfo);
}

TEST(MemorySource, NoByteAtAllIsEmptyInput)
{
    SourceRig rig;
    SetUpRig(&rig, nullptr, 0);
    CStderrCapture capture;
    EXPECT_EQ(Fill(&rig), JERR_INPUT_EMPTY);
    EXPECT_EQ(capture.Text(), "Empty input file\n");
    jpeg_destroy_decompress(&rig.cinfo);
}

// Skipping past the buffered bytes pulls further chunks and lands exactly.
TEST(MemorySource, SkipCrossesChunks)
{
    std::vector<unsigned char> input = Pattern(20000);
    SourceRig rig;
    SetUpRig(&rig, input.data(), input.size());
    ASSERT_EQ(Fill(&rig), 0);
    (*rig.cinfo.src->skip_input_data)(&rig.cinfo, 9000);
    EXPECT_EQ(rig.cinfo.src->next_input_byte[0], input[9000]);
    EXPECT_EQ(rig.cinfo.src->bytes_in_buffer, 3 * 4096u - 9000u);
    (*rig.cinfo.src->skip_input_data)(&rig.cinfo, 0);
    (*rig.cinfo.src->skip_input_data)(&rig.cinfo, -5);
    EXPECT_EQ(rig.cinfo.src->next_input_byte[0], input[9000]);
    jpeg_destroy_decompress(&rig.cinfo);
}

}  // namespace
