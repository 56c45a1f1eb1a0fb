#include "CacheTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "codec/JpegConverter.h"
#include "platform/DriveTable.h"
#include "platform/MessageBox.h"

std::vector<std::string> g_messages;

int RecordMessage(const char* text, unsigned int /*type*/)
{
    g_messages.push_back(text);
    return 1;
}

void CacheTest::SetUp()
{
    // tmpfs when present: some tests write tens of megabytes.
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string templ = std::string(base) + "/pixmoor-cache-XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    ASSERT_NE(mkdtemp(buf.data()), nullptr);
    m_dir = buf.data();
    CDriveTable::Instance().SetDrive('C', m_dir);
    m_environment.Set("HOME", m_dir);
    m_environment.Set("XDG_CACHE_HOME", m_dir + "/cache");
    g_messages.clear();
    SetMessageBoxHandler(RecordMessage);
}

void CacheTest::TearDown()
{
    SetMessageBoxHandler(nullptr);
    m_environment.Restore();
    std::string cmd = "rm -rf '" + m_dir + "'";
    if (system(cmd.c_str()) != 0)
        fprintf(stderr, "could not remove %s\n", m_dir.c_str());
}

void EnvironmentOverride::Set(const char* name, const std::string& value)
{
    const char* old = getenv(name);
    m_saved.push_back(Saved{name, old != nullptr, old ? old : ""});
    setenv(name, value.c_str(), 1);
}

void EnvironmentOverride::Restore()
{
    // Newest first, so a name set twice gets its first value back.
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
        if (it->wasSet)
            setenv(it->name.c_str(), it->value.c_str(), 1);
        else
            unsetenv(it->name.c_str());
    }
    m_saved.clear();
}

std::vector<unsigned char> MakeBytes(size_t size, uint32_t seed)
{
    std::vector<unsigned char> out(size);
    uint32_t x = seed * 2654435761u + 12345u;
    for (size_t i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        out[i] = (unsigned char)(x >> 24);
    }
    return out;
}

void WriteWholeFile(const std::string& native, const std::vector<unsigned char>& bytes)
{
    FILE* f = fopen(native.c_str(), "wb");
    ASSERT_NE(f, nullptr) << native;
    ASSERT_EQ(fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    ASSERT_EQ(fclose(f), 0);
}

std::vector<unsigned char> ReadWholeFile(const std::string& native)
{
    std::vector<unsigned char> out;
    FILE* f = fopen(native.c_str(), "rb");
    if (!f)
        return out;
    unsigned char buf[65536];
    size_t got;
    while ((got = fread(buf, 1, sizeof buf, f)) > 0)
        out.insert(out.end(), buf, buf + got);
    fclose(f);
    return out;
}

bool FileExists(const std::string& native)
{
    struct stat st;
    return stat(native.c_str(), &st) == 0;
}

long FileSize(const std::string& native)
{
    struct stat st;
    return stat(native.c_str(), &st) == 0 ? (long)st.st_size : -1;
}

int32_t ReadNumberAt(const std::string& native, long offset)
{
    FILE* f = fopen(native.c_str(), "rb");
    unsigned char b[4] = {};
    if (!f || fseek(f, offset, SEEK_SET) != 0 || fread(b, 1, 4, f) != 4)
        ADD_FAILURE() << "cannot read 4 bytes at " << offset;
    if (f)
        fclose(f);
    return (int32_t)((uint32_t)b[0] | ((uint32_t)b[1] << 8) | ((uint32_t)b[2] << 16) |
                     ((uint32_t)b[3] << 24));
}

void WriteNumberAt(const std::string& native, long offset, int32_t value)
{
    FILE* f = fopen(native.c_str(), "r+b");
    uint32_t v = (uint32_t)value;
    unsigned char b[4] = {(unsigned char)v, (unsigned char)(v >> 8), (unsigned char)(v >> 16),
                          (unsigned char)(v >> 24)};
    if (!f || fseek(f, offset, SEEK_SET) != 0 || fwrite(b, 1, 4, f) != 4)
        ADD_FAILURE() << "cannot write 4 bytes at " << offset;
    if (f)
        fclose(f);
}

void TruncateFile(const std::string& native, long size)
{
    ASSERT_EQ(truncate(native.c_str(), size), 0);
}

void SetModifiedTime(const std::string& native, long long seconds)
{
    struct timespec times[2];
    times[0].tv_sec = (time_t)seconds;
    times[0].tv_nsec = 0;
    times[1] = times[0];
    ASSERT_EQ(utimensat(AT_FDCWD, native.c_str(), times, 0), 0);
}

// Reads through pread so a check need not load the whole 20 MB file.
class FileReader {
public:
    explicit FileReader(const std::string& native) : m_fd(open(native.c_str(), O_RDONLY)) {}
    ~FileReader()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    bool IsOpen() const { return m_fd >= 0; }
    bool Read(size_t offset, void* out, size_t size)
    {
        if (pread(m_fd, out, size, (off_t)offset) == (ssize_t)size)
            return true;
        ADD_FAILURE() << "file too short for " << size << " bytes at " << offset;
        return false;
    }
    int32_t Number(size_t offset)
    {
        unsigned char b[4] = {};
        Read(offset, b, 4);
        return (int32_t)((uint32_t)b[0] | ((uint32_t)b[1] << 8) | ((uint32_t)b[2] << 16) |
                         ((uint32_t)b[3] << 24));
    }
    std::vector<uint32_t> Numbers(size_t offset, int count)
    {
        std::vector<uint32_t> out;
        if (count <= 0 || count > 20000) {
            ADD_FAILURE() << "count out of range: " << count;
            return out;
        }
        std::vector<unsigned char> b(4 * (size_t)count);
        if (!Read(offset, b.data(), b.size()))
            return out;
        for (int i = 0; i < count; ++i) {
            const unsigned char* p = &b[4 * (size_t)i];
            out.push_back((uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) |
                          ((uint32_t)p[3] << 24));
        }
        return out;
    }

private:
    int m_fd;
};

ParsedCache ParseCacheFile(const std::string& native, bool withData)
{
    ParsedCache p;
    FileReader file(native);
    if (!file.IsOpen()) {
        ADD_FAILURE() << "cannot open " << native;
        return p;
    }
    for (int i = 0; i < 7; ++i)
        p.header[i] = file.Number(4 * (size_t)i);
    if (p.header[2] > 0)
        p.freeList = file.Numbers(28, p.header[2]);
    std::vector<uint32_t> entries;
    if (p.header[4] > 0)
        entries = file.Numbers(80028, p.header[4]);
    for (uint32_t recordBlock : entries) {
        ParsedEntry e;
        e.recordBlock = recordBlock;
        size_t rec = 160028 + (size_t)recordBlock * 1024;
        for (int k = 0; k < 9; ++k)
            e.record[k] = file.Number(rec + 4 * (size_t)k);
        if (e.record[2] > 0 && e.record[2] <= 1024) {
            std::vector<char> name((size_t)e.record[2]);
            file.Read(rec + 36 + (size_t)e.record[3], name.data(), name.size());
            e.name.assign(name.data(), strnlen(name.data(), name.size()));
        }
        e.dataBlocks = file.Numbers(160028 + (size_t)(uint32_t)e.record[5] * 1024, e.record[4]);
        if (withData) {
            int size = e.record[6];
            e.data.resize((size_t)size);
            for (int k = 0; k * 1024 < size && k < (int)e.dataBlocks.size(); ++k) {
                size_t len = (size_t)std::min(1024, size - k * 1024);
                file.Read(160028 + (size_t)e.dataBlocks[k] * 1024, &e.data[(size_t)k * 1024], len);
            }
        }
        p.entries.push_back(std::move(e));
    }
    return p;
}

std::vector<unsigned char> MakePicture(int width, int height, int seed)
{
    std::vector<unsigned char> px((size_t)width * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &px[((size_t)y * width + x) * 3];
            p[0] = (unsigned char)((x * 255) / (width > 1 ? width - 1 : 1) + seed * 37);
            p[1] = (unsigned char)((y * 255) / (height > 1 ? height - 1 : 1) + seed * 11);
            p[2] = (unsigned char)(((x + y) * 7 + seed * 53) & 0xFF);
        }
    return px;
}

void WritePhoto(const std::string& native, int width, int height, int quality, int seed)
{
    std::vector<unsigned char> px = MakePicture(width, height, seed);
    CJpegConverter converter;
    converter.m_nQuality = quality;
    unsigned char* jpeg = converter.Encode(px.data(), width, height);
    ASSERT_NE(jpeg, nullptr);
    FILE* f = fopen(native.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(fwrite(jpeg, 1, (size_t)converter.GetSize(), f), (size_t)converter.GetSize());
    fclose(f);
    free(jpeg);
}
