#include "app/FolderSequence.h"

#include <algorithm>

#include "codec/JpegName.h"
#include "platform/FileSystem.h"

namespace {

// The JPEG names of a directory (as named, ending with a separator, or ""
// for the working directory), sorted byte for byte; sub-directories are
// left out.
std::vector<std::string> ListPhotos(const std::string& directory)
{
    std::vector<std::string> names;
    // A bare file name lies in the working directory.
    const std::string pattern = (directory.empty() ? std::string("./") : directory) + "*";
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsJpegName(data.cFileName))
            names.emplace_back(data.cFileName);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    // std::string compares its bytes as unsigned, as strcmp does.
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

void CFolderSequence::SetPosition(const char* path)
{
    const char* cut = nullptr;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\')
            cut = p;
    const std::string directory = cut ? std::string(path, (size_t)(cut - path) + 1) : std::string();
    if (directory != m_directory)
        m_stamp = -1;  // another directory: its listing is read afresh
    m_directory = directory;
    m_name = cut ? cut + 1 : path;
    m_bHasPosition = true;
}

long long CFolderSequence::DirectoryStamp() const
{
    CFileStatus status;
    const std::string dir = m_directory.empty() ? std::string(".") : m_directory;
    return CFile::GetStatus(dir.c_str(), status) ? status.m_mtimeNs : -2;
}

void CFolderSequence::Read()
{
    m_stamp = DirectoryStamp();
    m_names = ListPhotos(m_directory);
}

const std::string* CFolderSequence::Target(FolderStep step) const
{
    if (!m_bHasPosition || m_names.empty())
        return nullptr;
    const auto after = std::upper_bound(m_names.begin(), m_names.end(), m_name);
    const auto before = std::lower_bound(m_names.begin(), m_names.end(), m_name);
    switch (step) {
    case StepNext: return after != m_names.end() ? &*after : nullptr;
    case StepPrevious: return before != m_names.begin() ? &*(before - 1) : nullptr;
    // First and Last go nowhere from the first or last photo, like the
    // single steps in that direction.
    case StepFirst: return before != m_names.begin() ? &m_names.front() : nullptr;
    case StepLast: return after != m_names.end() ? &m_names.back() : nullptr;
    }
    return nullptr;
}

bool CFolderSequence::Find(FolderStep step, std::string* path)
{
    if (!m_bHasPosition)
        return false;
    Read();
    const std::string* name = Target(step);
    if (!name)
        return false;
    *path = m_directory + *name;
    return true;
}

bool CFolderSequence::CanStep(FolderStep step)
{
    if (!m_bHasPosition)
        return false;
    if (m_stamp < 0 || DirectoryStamp() != m_stamp)
        Read();
    return Target(step) != nullptr;
}
