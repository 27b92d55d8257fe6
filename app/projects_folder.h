#pragma once
// Where projects go. The program's own folder is no place for them: an installed program
// cannot write there, and a source build's folder is thrown away with every project in
// it. Until a project is opened, the project dialogs start in "Varnak" in the user's
// documents folder; afterwards in the folder that holds the open project.
#include <memory>
#include <string>

namespace varnak {

class clsProject;

// "Varnak" in the user's documents folder (as the desktop names it, e.g. ~/Dokumente).
std::string userProjectsFolder();

// The program's project object: its folders start at userProjectsFolder().
std::shared_ptr<clsProject> makeProgramProject();

// The folder that holds the open project's folder, where the project dialogs start. The
// user's projects folder is made when it is that folder and does not exist yet; any other
// folder is left as it is (a folder that has gone, such as an unplugged drive's, is not
// made anew).
std::string projectParentFolder();

}  // namespace varnak
