// The table of named objects (the shared slot block and its guards) that a
// program of the bench uses. A scripted run gets a table of its own, a fresh
// folder that goes with it, so that any number of runs on one machine never
// see each other. An interactive program (avrion-host, avrion-panel) uses a
// folder that avrion-slots can attach to from another terminal, and claims it:
// a second interactive program finds the claim and says so instead of
// silently sharing the first one's slots.
//
// Whichever it is, the folder is put into AVRION_KERNEL_OBJECTS for the rest
// of the process, where every copy of the named-object back end, the
// module's own included, looks for it.
#pragma once

#include <memory>
#include <string>

class ObjectsTable {
public:
    // The folder a program uses when told nothing: AVRION_KERNEL_OBJECTS, or
    // else the machine's default (/dev/shm).
    static std::string DefaultFolder();

    // A table of the run's own, in a new folder that is removed when the
    // table goes; folders left by runs that died are swept away first.
    static std::unique_ptr<ObjectsTable> OfItsOwn(std::string& error);
    // The folder (empty: the default), claimed for this program until the
    // table goes. Null, with a message naming the holder, when another
    // program claims it.
    static std::unique_ptr<ObjectsTable> Claim(const std::string& folder, const std::string& program,
                                               std::string& error);
    // The folder (empty: the default), shared with whoever else uses it.
    static std::unique_ptr<ObjectsTable> Attach(const std::string& folder, std::string& error);
    // The table of a scripted run: of its own, unless a folder to share is named.
    static std::unique_ptr<ObjectsTable> ForRun(const std::string& folder, std::string& error) {
        return folder.empty() ? OfItsOwn(error) : Attach(folder, error);
    }

    ~ObjectsTable();
    ObjectsTable(const ObjectsTable&) = delete;
    ObjectsTable& operator=(const ObjectsTable&) = delete;

    const std::string& folder() const { return folder_; }

private:
    ObjectsTable(std::string folder, int claimFd, bool removeFolder);

    std::string folder_;
    int claimFd_;        // the claim held, or -1
    bool removeFolder_;  // a folder of the run's own
};
