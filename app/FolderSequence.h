#pragma once
// The photos of the shown photo's directory, in the Visual Browser's order
// (the JPEG name rule, names compared byte for byte), and the position in
// them: what Next, Previous, First and Last Picture step to.
//
// The position is a file name, not an index, so files added or removed
// between steps count: Next is the first name after it, Previous the last
// name before it, whether or not the file itself is still there.
//
// Find reads the directory again at every step. CanStep, which the menus
// ask whenever the program idles, reads it again only when the directory
// has changed since (its modification time).

#include <string>
#include <vector>

enum FolderStep { StepNext, StepPrevious, StepFirst, StepLast };

class CFolderSequence {
public:
    // The position becomes `path`: its directory as named (up to and with
    // the last '/' or '\\'; "" for a bare name) and its file name.
    void SetPosition(const char* path);
    // The position's directory as named ("" for a bare name).
    const std::string& Directory() const { return m_directory; }

    // The full path (directory as named, then the file name) of the photo a
    // step goes to, or false at that end of the folder. Reads the directory.
    bool Find(FolderStep step, std::string* path);
    // Whether a step would go anywhere.
    bool CanStep(FolderStep step);

private:
    // The name the step goes to, or null.
    const std::string* Target(FolderStep step) const;
    void Read();
    long long DirectoryStamp() const;

    bool m_bHasPosition = false;
    std::string m_directory;
    std::string m_name;
    std::vector<std::string> m_names;
    long long m_stamp = -1;
};
