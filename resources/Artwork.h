// Kib's own pictures, drawn in code: tool bar buttons, the open-files and
// workspace tab images, the program icon and the splash picture.
#pragma once

#include <wx/bitmap.h>
#include <wx/icon.h>
#include <wx/iconbndl.h>
#include <wx/imaglist.h>

namespace kib {

// A 16x16 tool bar image for a command (an empty bitmap for an unknown one).
wxBitmap ToolbarBitmap(int command, int size = 16);

// The splash picture (bitmap 107): 412 x 272 pixels.
inline constexpr int kSplashWidth = 412;
inline constexpr int kSplashHeight = 272;
wxBitmap SplashBitmap();

// Bitmap 111: nine 16-pixel images of the open-files tree; 0 the root,
// 7 a file, 8 a Java file.
inline constexpr int kImageRoot = 0;
inline constexpr int kImageFile = 7;
inline constexpr int kImageJava = 8;
wxImageList* CreateOpenFilesImageList();
// One image of bitmap 111.
wxBitmap OpenFilesBitmap(int index);

// Bitmap 147: the workspace bar's tab images, 0 "Dateien", 1 "Explorer".
wxBitmap WorkspaceTabBitmap(int index);

// The options dialog's tree icons, 16x16, by resource number.
inline constexpr int kIconOptionsJdk = 167;
inline constexpr int kIconOptionsCompiler = 168;
inline constexpr int kIconOptionsInterpreter = 169;
inline constexpr int kIconOptionsEditor = 170;
inline constexpr int kIconOptionsFont = 171;
inline constexpr int kIconOptionsSyntax = 172;
inline constexpr int kIconOptionsTextblocks = 173;
inline constexpr int kIconOptionsGui = 174;
inline constexpr int kIconOptionsOutput = 175;
inline constexpr int kIconOptionsColours = 176;
inline constexpr int kIconOptionsFullscreen = 183;
wxBitmap OptionsPageIcon(int resource);
// Image 1 of bitmap 102: the mark of a scalable font in the font lists
// (12 pixels wide).
wxBitmap ScalableFontMark();

// The program's icon in several sizes.
wxIconBundle ProgramIcons();

} // namespace kib
