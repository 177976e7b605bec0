#pragma once

// The external editors, as a document sees them: it hands a saved file to one of them
// by its place in the list, and knows nothing more of where the list comes from.
class IImageEditors {
public:
    // Starts editor index of the list on the file at path; nothing when there is no
    // such editor.
    virtual void OpenInEditor(int index, const char* path) = 0;

protected:
    ~IImageEditors() = default;
};
