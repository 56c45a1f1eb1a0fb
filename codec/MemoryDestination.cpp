#include "codec/MemoryDestination.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "codec/ConversionState.h"

static MemoryDestination* DestinationOf(j_compress_ptr cinfo)
{
    return reinterpret_cast<MemoryDestination*>(cinfo->dest);
}

static ConversionState* StateOf(j_compress_ptr cinfo)
{
    return static_cast<ConversionState*>(cinfo->client_data);
}

// Appends `count` staging bytes to the block. False (block released) when
// the block cannot grow or would outgrow the 32-bit result size.
static bool Append(j_compress_ptr cinfo, MemoryDestination* dest, size_t count)
{
    size_t newSize = dest->blockSize + count;
    JOCTET* grown = newSize <= (size_t)INT_MAX
                        ? static_cast<JOCTET*>(realloc(dest->block, newSize))
                        : nullptr;
    if (!grown) {
        free(dest->block);
        dest->block = nullptr;
        dest->blockSize = 0;
        StateOf(cinfo)->outputFailed = true;
        return false;
    }
    memcpy(grown + dest->blockSize, dest->staging, count);
    dest->block = grown;
    dest->blockSize = newSize;
    return true;
}

static void InitDestination(j_compress_ptr cinfo)
{
    MemoryDestination* dest = DestinationOf(cinfo);
    dest->staging = static_cast<JOCTET*>((*cinfo->mem->alloc_small)(
        (j_common_ptr)cinfo, JPOOL_IMAGE, kMemoryDestinationChunk));
    dest->pub.next_output_byte = dest->staging;
    dest->pub.free_in_buffer = kMemoryDestinationChunk;
}

static boolean EmptyOutputBuffer(j_compress_ptr cinfo)
{
    MemoryDestination* dest = DestinationOf(cinfo);
    if (StateOf(cinfo)->outputFailed || !Append(cinfo, dest, kMemoryDestinationChunk))
        return FALSE;
    dest->pub.next_output_byte = dest->staging;
    dest->pub.free_in_buffer = kMemoryDestinationChunk;
    return TRUE;
}

static void TermDestination(j_compress_ptr cinfo)
{
    MemoryDestination* dest = DestinationOf(cinfo);
    ConversionState* state = StateOf(cinfo);
    size_t count = kMemoryDestinationChunk - dest->pub.free_in_buffer;
    if (!state->outputFailed && count > 0)
        Append(cinfo, dest, count);
    if (state->outputFailed) {
        free(dest->block);
        state->result = nullptr;
        state->resultSize = 0;
    } else {
        state->result = dest->block;
        state->resultSize = (uint32_t)dest->blockSize;
    }
    free(dest);
    cinfo->dest = nullptr;
}

int InstallMemoryDestination(j_compress_ptr cinfo)
{
    ConversionState* state = StateOf(cinfo);
    state->result = nullptr;
    state->resultSize = 0;
    state->outputFailed = false;
    MemoryDestination* dest = static_cast<MemoryDestination*>(malloc(sizeof(MemoryDestination)));
    if (!dest)
        return -1;
    memset(dest, 0, sizeof *dest);
    dest->pub.init_destination = InitDestination;
    dest->pub.empty_output_buffer = EmptyOutputBuffer;
    dest->pub.term_destination = TermDestination;
    cinfo->dest = &dest->pub;
    return 0;
}

void DiscardMemoryDestination(j_compress_ptr cinfo)
{
    MemoryDestination* dest = DestinationOf(cinfo);
    if (!dest)
        return;
    free(dest->block);
    free(dest);
    cinfo->dest = nullptr;
}
