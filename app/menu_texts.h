#pragma once
// String-table ids of the texts of the menus' dialogs and commands (German id; English is
// id + 2000).

namespace varnak {

// Rail dialogs.
inline constexpr int kTxtRailOpenCaption = 250;
inline constexpr int kTxtRailOpenSelection = 251;
inline constexpr int kTxtRailOpenButton = 253;
inline constexpr int kTxtRailOpenCancel = 254;
inline constexpr int kTxtRailOpenNothingChosen = 255;
inline constexpr int kTxtRailNewCaption = 260;
inline constexpr int kTxtRailNewType = 261;
inline constexpr int kTxtRailNewName = 262;
inline constexpr int kTxtRailNewComment = 263;
inline constexpr int kTxtRailNewOk = 264;
inline constexpr int kTxtRailNewCancel = 265;
inline constexpr int kTxtRailNameEmpty = 267;
inline constexpr int kTxtRailNameTaken = 268;
inline constexpr int kTxtRailNameOther = 269;
inline constexpr int kTxtRailNoCouplerType = 274;
// A rail name with a character no name may hold; %1 is the character.
inline constexpr int kTxtRailNameHoldsCharacter = 1943;

// Tree popups and pickers.
inline constexpr int kTxtCouplerNamePrompt = 315;
inline constexpr int kTxtSaveAsTitle = 65;

// Project dialogs.
inline constexpr int kTxtProjNewCaption = 360;
inline constexpr int kTxtProjNewFolder = 366;
inline constexpr int kTxtProjNewPath = 367;
inline constexpr int kTxtProjNewOk = 368;
inline constexpr int kTxtProjNewCancel = 369;
inline constexpr int kTxtProjNameInvalid = 370;
inline constexpr int kTxtTryWithoutDot = 371;
// As 371 for another character; %1 is the character.
inline constexpr int kTxtTryWithoutCharacter = 1944;
inline constexpr int kTxtProjFolderInvalid = 372;
inline constexpr int kTxtProjExists = 373;
inline constexpr int kTxtProjDelCaption = 380;
inline constexpr int kTxtProjDelFrame = 381;
inline constexpr int kTxtProjDelPath = 382;
inline constexpr int kTxtProjDelFolder = 383;
inline constexpr int kTxtProjDelButton = 384;
inline constexpr int kTxtProjDelCancel = 385;
inline constexpr int kTxtProjDelQuestion = 386;
inline constexpr int kTxtProjDelNotProject = 387;

// File commands.
inline constexpr int kTxtGsdFilter = 650;
inline constexpr int kTxtGsdTitle = 651;
inline constexpr int kTxtProjectFilter = 660;
inline constexpr int kTxtProjectOpenTitle = 661;
inline constexpr int kTxtNoProjectFile = 662;
inline constexpr int kTxtProjectOpenMessageTitle = 663;
inline constexpr int kTxtTerminalScriptFilter = 667;
inline constexpr int kTxtCouplerScriptFilter = 668;
inline constexpr int kTxtScriptTitle = 669;
inline constexpr int kTxtNoScriptFile = 670;
inline constexpr int kTxtFirmwareFilter = 730;
inline constexpr int kTxtFirmwareTitle = 731;
inline constexpr int kTxtNoFirmwareFile = 732;
inline constexpr int kTxtFinishedWithoutError = 733;
inline constexpr int kTxtErrorCode = 734;
inline constexpr int kTxtFirmwareLoad = 735;
inline constexpr int kTxtBootstrapQuestion = 736;
inline constexpr int kTxtFirmwareUpdate = 737;
inline constexpr int kTxtRebootCoupler = 738;

// Fixed texts that are not in the string table.
inline constexpr const char* kUnderConstruction = "Under construction ";

}  // namespace varnak
