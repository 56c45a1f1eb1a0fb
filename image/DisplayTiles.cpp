#include "image/DisplayTiles.h"

#include <cstdlib>

#include "platform/LargeBlock.h"

CDisplayTiles::CDisplayTiles()
    : m_pTiles(nullptr), m_pSpares(nullptr), m_pSlabs(nullptr), m_nSlabs(0), m_nCount(0),
      m_nSpares(0), m_nClock(0), m_nMostNeeded(0)
{
}

CDisplayTiles::~CDisplayTiles()
{
    Clear();
}

const unsigned char* CDisplayTiles::Find(int col, int row)
{
    for (int i = 0; i < m_nCount; ++i) {
        Tile& t = m_pTiles[i];
        if (t.col == col && t.row == row) {
            t.lastUse = ++m_nClock;
            return t.bits;
        }
    }
    return nullptr;
}

bool CDisplayTiles::MakeTable()
{
    if (m_pTiles)
        return true;
    m_pTiles = (Tile*)std::malloc(sizeof(Tile) * kMaxTiles);
    m_pSpares = (unsigned char**)std::malloc(sizeof(unsigned char*) * kMaxTiles);
    m_pSlabs = (unsigned char**)std::malloc(sizeof(unsigned char*) * kMaxTiles);
    if (m_pTiles && m_pSpares && m_pSlabs)
        return true;
    Clear();  // no slabs yet: only the tables that were had
    return false;
}

unsigned char* CDisplayTiles::Evict()
{
    int oldest = 0;
    for (int i = 1; i < m_nCount; ++i)
        if (m_pTiles[i].lastUse < m_pTiles[oldest].lastUse)
            oldest = i;
    unsigned char* bits = m_pTiles[oldest].bits;
    m_pTiles[oldest] = m_pTiles[--m_nCount];
    return bits;
}

unsigned char* CDisplayTiles::NewSlab(int tiles)
{
    unsigned char* slab = (unsigned char*)AllocLargeBlock((size_t)(tiles * kBufferBytes));
    if (!slab)
        return nullptr;
    m_pSlabs[m_nSlabs++] = slab;
    for (int i = tiles - 1; i > 0; --i)
        m_pSpares[m_nSpares++] = slab + (size_t)i * kBufferBytes;
    return slab;
}

unsigned char* CDisplayTiles::TakeBuffer(uint64_t growRoom)
{
    if (!MakeTable())
        return nullptr;
    if (m_nSpares > 0)
        return m_pSpares[--m_nSpares];
    const int held = m_nCount + m_nSpares;
    const uint64_t room = Limit() > Bytes() ? Limit() - Bytes() : 0;
    uint64_t fit = room < growRoom ? room : growRoom;
    int tiles = (int)(fit / kBufferBytes);
    if (tiles > kSlabTiles)
        tiles = kSlabTiles;
    if (tiles > kMaxTiles - held)
        tiles = kMaxTiles - held;
    if (tiles > 0) {
        if (unsigned char* bits = NewSlab(tiles))
            return bits;
    }
    return m_nCount > 0 ? Evict() : nullptr;
}

// A buffer out of TakeBuffer is not counted in Bytes() until it comes back,
// and the table then has room for it: it held it, or it grew by one under
// kMaxTiles.
void CDisplayTiles::Keep(int col, int row, unsigned char* buffer)
{
    m_pTiles[m_nCount++] = Tile{col, row, buffer, ++m_nClock};
}

void CDisplayTiles::GiveBack(unsigned char* buffer)
{
    m_pSpares[m_nSpares++] = buffer;
}

void CDisplayTiles::Recycle()
{
    for (int i = 0; i < m_nCount; ++i)
        m_pSpares[m_nSpares++] = m_pTiles[i].bits;
    m_nCount = 0;
}

void CDisplayTiles::Clear()
{
    for (int i = 0; i < m_nSlabs; ++i)
        std::free(m_pSlabs[i]);
    std::free(m_pTiles);
    std::free(m_pSpares);
    std::free(m_pSlabs);
    m_pTiles = nullptr;
    m_pSpares = nullptr;
    m_pSlabs = nullptr;
    m_nSlabs = 0;
    m_nCount = 0;
    m_nSpares = 0;
}

void CDisplayTiles::NoteDrawNeeds(uint64_t bytes)
{
    if (bytes > m_nMostNeeded)
        m_nMostNeeded = bytes;
}

uint64_t CDisplayTiles::Limit() const
{
    const uint64_t wanted = m_nMostNeeded > kMaxBytes ? kMaxBytes : 3 * m_nMostNeeded;
    if (wanted < kMinBytes)
        return kMinBytes;
    return wanted > kMaxBytes ? kMaxBytes : wanted;
}
