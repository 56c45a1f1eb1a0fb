#include "image/DisplayTiles.h"

#include <cstdlib>

CDisplayTiles::CDisplayTiles()
    : m_pTiles(nullptr), m_pSpares(nullptr), m_nCount(0), m_nSpares(0), m_nClock(0),
      m_nMostNeeded(0)
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
    if (m_pTiles && m_pSpares)
        return true;
    std::free(m_pTiles);
    std::free(m_pSpares);
    m_pTiles = nullptr;
    m_pSpares = nullptr;
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

unsigned char* CDisplayTiles::TakeBuffer(bool mayGrow)
{
    if (!MakeTable())
        return nullptr;
    if (m_nSpares > 0)
        return m_pSpares[--m_nSpares];
    const bool full = Bytes() + kBufferBytes > Limit() || m_nCount + m_nSpares >= kMaxTiles;
    if (m_nCount > 0 && (full || !mayGrow))
        return Evict();
    if (!mayGrow || m_nCount + m_nSpares >= kMaxTiles)
        return nullptr;
    return (unsigned char*)std::malloc((size_t)kBufferBytes);
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
    for (int i = 0; i < m_nCount; ++i)
        std::free(m_pTiles[i].bits);
    for (int i = 0; i < m_nSpares; ++i)
        std::free(m_pSpares[i]);
    std::free(m_pTiles);
    std::free(m_pSpares);
    m_pTiles = nullptr;
    m_pSpares = nullptr;
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
