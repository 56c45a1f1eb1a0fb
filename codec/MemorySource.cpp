#include "codec/MemorySource.h"

#include <cstring>

#include <jerror.h>

#include "codec/ConversionState.h"

static MemorySource* SourceOf(j_decompress_ptr cinfo)
{
    return reinterpret_cast<MemorySource*>(cinfo->src);
}

static void InitSource(j_decompress_ptr cinfo)
{
    SourceOf(cinfo)->startOfFile = TRUE;
}

static boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    MemorySource* src = SourceOf(cinfo);
    ConversionState* state = static_cast<ConversionState*>(cinfo->client_data);
    uint64_t left = state->inputLength - state->readPosition;
    size_t count = left < kMemorySourceChunk ? (size_t)left : (size_t)kMemorySourceChunk;
    if (count > 0) {
        memcpy(src->buffer, state->input + state->readPosition, count);
        state->readPosition += count;
    } else {
        if (src->startOfFile)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->buffer[0] = (JOCTET)0xFF;
        src->buffer[1] = (JOCTET)JPEG_EOI;
        count = 2;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = count;
    src->startOfFile = FALSE;
    return TRUE;
}

static void SkipInputData(j_decompress_ptr cinfo, long count)
{
    if (count <= 0)
        return;
    struct jpeg_source_mgr* src = cinfo->src;
    size_t n = (size_t)count;
    while (n > src->bytes_in_buffer) {
        n -= src->bytes_in_buffer;
        FillInputBuffer(cinfo);
    }
    src->next_input_byte += n;
    src->bytes_in_buffer -= n;
}

static void TermSource(j_decompress_ptr)
{
}

void InstallMemorySource(j_decompress_ptr cinfo)
{
    MemorySource* src = static_cast<MemorySource*>(
        (*cinfo->mem->alloc_small)((j_common_ptr)cinfo, JPOOL_PERMANENT, sizeof(MemorySource)));
    src->buffer = static_cast<JOCTET*>(
        (*cinfo->mem->alloc_small)((j_common_ptr)cinfo, JPOOL_PERMANENT, kMemorySourceChunk));
    src->startOfFile = TRUE;
    src->pub.init_source = InitSource;
    src->pub.fill_input_buffer = FillInputBuffer;
    src->pub.skip_input_data = SkipInputData;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = TermSource;
    src->pub.bytes_in_buffer = 0;
    src->pub.next_input_byte = nullptr;
    cinfo->src = &src->pub;
}
