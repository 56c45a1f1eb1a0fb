#pragma once
// The tiles of a display built part by part that are kept for the next
// paints: a small table of equal pixel buffers, least recently used out
// first. Buffers of tiles that no longer show (after a zoom or a turn) are
// kept as spares for the next tiles, so a new zoom touches no fresh memory.
//
// Buffers are carved from slabs of kSlabTiles, each one heap block that the
// kernel may back with huge pages: a fresh 4 KiB page costs a fault each,
// which on some machines takes longer than building the tile.
//
// Its limit follows the window: about three times the bytes of the most
// tiles one draw has needed (so a scroll back and forth finds its tiles),
// never under kMinBytes nor over kMaxBytes; the need outlives the tiles, as
// the window stays when the zoom changes. Bytes() counts tiles and spares,
// and the caller counts it in the picture's memory budget.

#include <cstdint>

#include "image/DisplayGeometry.h"

class CDisplayTiles {
public:
    // Every buffer holds a whole tile of kSide x kSide pixels as a bottom-up
    // DIB (edge tiles use part of theirs).
    static constexpr int kSide = kDisplayTileSide;
    static constexpr uint64_t kBufferBytes = 3 * (uint64_t)kSide * (kSide + 3);
    static constexpr uint64_t kMinBytes = (uint64_t)4 << 20;
    static constexpr uint64_t kMaxBytes = (uint64_t)48 << 20;
    static constexpr int kMaxTiles = 1024;
    static constexpr int kSlabTiles = 64;
    static constexpr uint64_t kSlabBytes = kSlabTiles * kBufferBytes;

    CDisplayTiles();
    ~CDisplayTiles();
    CDisplayTiles(const CDisplayTiles&) = delete;
    CDisplayTiles& operator=(const CDisplayTiles&) = delete;

    // The pixels kept for tile (col, row), or null; a hit makes the tile the
    // most recently used.
    const unsigned char* Find(int col, int row);
    // A buffer for a new tile: a spare, the least recently used tile's when
    // the cache is at its limit or may not grow, else one of a new slab of
    // at most `growRoom` bytes (0: may not grow), whose other buffers become
    // spares. Null when there is none to be had. Hand it back with Keep or
    // GiveBack.
    unsigned char* TakeBuffer(uint64_t growRoom);
    // Keeps a buffer from TakeBuffer as tile (col, row).
    void Keep(int col, int row, unsigned char* buffer);
    // Returns a buffer from TakeBuffer unused.
    void GiveBack(unsigned char* buffer);
    // Every tile's buffer becomes a spare: the picture they showed changed.
    void Recycle();
    // Frees every tile, spare and slab (the limit stays).
    void Clear();

    // A draw that needs `bytes` of tiles: the limit grows to about three
    // times the most any draw has needed.
    void NoteDrawNeeds(uint64_t bytes);
    uint64_t Limit() const;
    // Bytes of the buffers held, tiles and spares (every buffer of a slab).
    uint64_t Bytes() const { return (uint64_t)(m_nCount + m_nSpares) * kBufferBytes; }
    int Count() const { return m_nCount; }

private:
    struct Tile {
        int col, row;
        unsigned char* bits;
        uint64_t lastUse;
    };

    // The least recently used tile leaves the table; its buffer is returned.
    unsigned char* Evict();
    // A slab of `tiles` buffers: one is returned, the others become spares.
    unsigned char* NewSlab(int tiles);
    // The table and the spare list, made on first use: most images (the
    // browser's cells) never build a tile.
    bool MakeTable();

    Tile* m_pTiles;
    unsigned char** m_pSpares;
    unsigned char** m_pSlabs;  // at most kMaxTiles, one per buffer at worst
    int m_nSlabs;
    int m_nCount;
    int m_nSpares;
    uint64_t m_nClock;
    uint64_t m_nMostNeeded;
};
