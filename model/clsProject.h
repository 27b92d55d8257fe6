#pragma once
// The open project: its name and folders, its state, the program's online flag and the
// collection of rails. One instance per program context (gfVarnakProject).
//
// Store layout: <parent>/<name>.PF is the project folder; in it <name>.VMT (section
// [Config]: Name, CouplerID) and one folder <rail name>.CF per rail holding Coupler.CCF
// and the terminal files C<coupler id>T<terminal id>.TCF.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "model/signal.h"

namespace varnak {

class clsColCouplers;

// The project's states, as ProjectState holds them and ProjectStateChange passes them on.
inline constexpr int32_t kProjectInitial = 0;
inline constexpr int32_t kProjectOpening = 1;  // opening or creating
inline constexpr int32_t kProjectOpen = 2;
inline constexpr int32_t kProjectDeleting = 3;
inline constexpr int32_t kProjectDeleted = 4;

class clsProject {
  public:
    // Project folders start at the folder given (the program gives the user's projects
    // folder), or at the program folder; the resource folder is the one the program ships
    // with.
    clsProject();
    clsProject(std::string startFolder, std::string resourceFolder);
    ~clsProject();
    clsProject(const clsProject&) = delete;
    clsProject& operator=(const clsProject&) = delete;

    bool Online() const { return online_; }
    // Sets the online flag. A change first re-initialises the serial port (InitComPort).
    // Going online with a port that fails keeps the flag and answers kStorePortFailed;
    // going offline always succeeds in changing the flag (the adapter may be gone) and
    // reports a port problem with kStorePortFailed.
    [[nodiscard]] int32_t setOnline(bool value);

    // Opens the project named szProjectName in the folder szProjectDrive (the ".PF"
    // folder) inside szProjectFolder; the loaded rail is saved and dropped first. Returns
    // a StoreResult; on failure the old project stays open.
    [[nodiscard]] int32_t fOpenProject(const std::string& szProjectName,
                                       const std::string& szProjectDrive,
                                       const std::string& szProjectFolder);
    // Creates the project folder and file, then saves and drops the loaded rail, and
    // switches to the new project only when all of that succeeded. A failure leaves the
    // open project and its loaded rail as they were (a new folder made for it is removed).
    [[nodiscard]] int32_t fNewProject(const std::string& szProjectName,
                                      const std::string& szProjectDrive,
                                      const std::string& szProjectFolder);
    // Deletes a project folder. The open project is closed (its rail dropped unsaved) only
    // when it is the folder deleted. kStoreDeleteFailed when the deletion stopped.
    [[nodiscard]] int32_t fDeleteProject(const std::string& szPathProject);

    // The rail collection, created on first use.
    std::shared_ptr<varnak::clsColCouplers> clsColCouplers();
    void setClsColCouplers(std::shared_ptr<varnak::clsColCouplers> couplers);

    int32_t ProjectState() const { return state_; }
    // Raises ProjectStateChange when the value changes.
    void setProjectState(int32_t value);

    const std::string& ProjektName() const { return name_; }
    const std::string& FullPathProject() const { return pathProject_; }
    const std::string& FullPathProjectFolder() const { return pathProjectFolder_; }
    const std::string& FullPathResourceFolder() const { return pathResource_; }
    const std::string& FullPathCoupler() const { return pathCoupler_; }
    void setFullPathCoupler(const std::string& value) { pathCoupler_ = value; }

    // True when a project is open: operations that write into it need one.
    bool IsOpen() const { return !name_.empty() && !pathProject_.empty(); }
    // "<project folder>/<name>.VMT".
    std::string ProjectFile() const;

    // Project and rail names become folder names: refused are the empty name and names
    // holding ".", "/", "\" or control characters.
    static bool gfValidProjName(const std::string& sCheckName);
    static bool gfValidRailName(const std::string& sCheckName);
    // The last component of a project folder path may hold no "."; the first two
    // characters (a drive) are never looked at.
    static bool gfValidProjFolderName(const std::string& sCheckName);

    // The serial port set-up that precedes every change of the online flag; set by the
    // program. Returns 0 on success; a thrown exception counts as a failure too.
    std::function<int32_t()> InitComPort;
    // What went wrong at the last port set-up (empty after success).
    const std::string& PortError() const { return portError_; }

    // Argument: the new state (by reference, as the event passes it).
    Signal<int32_t&> ProjectStateChange;
    // Argument: the new online flag.
    Signal<bool&> ProjectStateOnlineChange;

  private:
    [[nodiscard]] int32_t runInitComPort();
    // Makes the project open with its name and folders; no rail loaded.
    void switchTo(const std::string& name, const std::string& drive, const std::string& folder);

    std::string name_;
    std::string pathProject_;
    std::string pathProjectFolder_;
    std::string pathResource_;
    std::string pathCoupler_;
    int32_t state_ = kProjectInitial;
    bool online_ = false;
    std::string portError_;
    std::shared_ptr<varnak::clsColCouplers> couplers_;
};

// The current context's project, created on first use.
std::shared_ptr<clsProject> gfVarnakProject();

}  // namespace varnak
