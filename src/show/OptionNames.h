// The names of the stored settings: the sections of the application's key
// and the values of the "Options" section. Every part of the program spells
// them through these constants.
#pragma once

namespace tessaly::opt {

inline constexpr char kSection[] = "Options";
inline constexpr char kPictureFiles[] = "PictureFiles";
inline constexpr char kSoundFiles[] = "SoundFiles";

// The options record, in the order the options dialog loads and stores it.
inline constexpr char kPicRandom[] = "PicRandom";
inline constexpr char kShowFileName[] = "ShowFileName";
inline constexpr char kSoundRandom[] = "SoundRandom";
inline constexpr char kStretch[] = "Stretch";
inline constexpr char kInterval[] = "Interval";
// Registry names are not case-sensitive: the transitions' "Backcolor" is
// this same value.
inline constexpr char kBackColor[] = "BackColor";
inline constexpr char kSwapAffect[] = "SwapAffect";
inline constexpr char kTransSpeed[] = "TransSpeed";
inline constexpr char kFrameThickness[] = "FrameThickness";
inline constexpr char kFrameColor[] = "FrameColor";
inline constexpr char kShowFrame[] = "ShowFrame";
inline constexpr char kResetPicList[] = "ResetPicList";
inline constexpr char kResetSoundList[] = "ResetSoundList";
// A folder entry of the picture list stands for its whole tree ("1") or for
// the pictures directly in it (missing or "0", as every list stored before).
inline constexpr char kSubfolders[] = "Subfolders";
// Beyond the record of the first versions: each picture pans and zooms
// slowly while it is shown ("0" / "1", default off).
inline constexpr char kPanZoom[] = "PanZoom";

// Values of the same section that are not options.
inline constexpr char kLastPicture[] = "LastPicture";
inline constexpr char kLastSound[] = "LastSound";
inline constexpr char kPlayList[] = "PlayList";
inline constexpr char kInstallPath[] = "InstallPath";

// Defaults where they are not the empty text.
inline constexpr char kDefaultInterval[] = "5";
inline constexpr char kDefaultBlack[] = "&H00000000&";
inline constexpr char kDefaultSpeed[] = "20";
inline constexpr char kDefaultThickness[] = "3";
// The options dialog shows a missing frame colour as white (&HFFFFFF);
// the show draws a missing one black.
inline constexpr char kDefaultDialogFrameColor[] = "16777215";

}  // namespace tessaly::opt
