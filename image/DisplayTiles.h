#pragma once
// The tiles of a display built part by part that are kept for the next
// paints: a small table of pixel blocks, least recently used out first.
//
// Its limit follows the window: about three times the bytes of the most
// tiles one draw has needed (so a scroll back and forth finds its tiles),
// never under kMinBytes nor over kMaxBytes. The need outlives Clear: the
// window stays when the zoom changes. The caller counts Bytes() in the
// picture's memory budget.

#include <cstdint>

class CDisplayTiles {
public:
    static const uint64_t kMinBytes = (uint64_t)4 << 20;
    static const uint64_t kMaxBytes = (uint64_t)48 << 20;
    static const int kMaxTiles = 512;

    CDisplayTiles();
    ~CDisplayTiles();
    CDisplayTiles(const CDisplayTiles&) = delete;
    CDisplayTiles& operator=(const CDisplayTiles&) = delete;

    // The pixels kept for tile (col, row), or null; a hit makes the tile the
    // most recently used.
    const unsigned char* Find(int col, int row);
    // Keeps `bits` (a malloc block of `bytes`, which the cache then owns and
    // frees) as tile (col, row). Returns false, and takes nothing, when the
    // table cannot be allocated.
    bool Keep(int col, int row, unsigned char* bits, uint64_t bytes);
    // Frees the least recently used tile; false when there is none.
    bool DropOldest();
    // Drops least recently used tiles until `bytes` more fit the limit.
    void MakeRoom(uint64_t bytes);
    // Frees every tile (the limit stays).
    void Clear();

    // A draw that needs `bytes` of tiles: the limit grows to about three
    // times the most any draw has needed.
    void NoteDrawNeeds(uint64_t bytes);
    uint64_t Limit() const;
    uint64_t Bytes() const { return m_nBytes; }
    int Count() const { return m_nCount; }

private:
    struct Tile {
        int col, row;
        unsigned char* bits;
        uint64_t bytes;
        uint64_t lastUse;
    };

    // Made on the first Keep: most images (the browser's cells) never
    // build a tile.
    Tile* m_pTiles;
    int m_nCount;
    uint64_t m_nBytes;
    uint64_t m_nClock;
    uint64_t m_nMostNeeded;
};
