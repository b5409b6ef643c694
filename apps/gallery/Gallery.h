// The gallery's three ways to run (main.cpp picks one).
#pragma once

#include <filesystem>
#include <string>

namespace zxp::gallery {

// The live desktop app in an SDL window: the shell with every page, real time, input and sound.
// False when there is no display (nothing was shown); otherwise runs until the window closes.
bool runLive(int& exitCode);

// Headless: every page to <outDir>/gallery-<page>.png (live pages as their form's window); prints
// each path. Returns the number of pages that failed (1 when the folder cannot be created; the
// reason goes to stderr).
int renderPages(const std::filesystem::path& outDir);

// Headless: the live shell showing one page, after a scripted visit of its first controls (the
// cursor over one, a click on the next, which selects it for the property panel) so that the
// event log has lines; written as a PNG of the whole screen. The page is named by its name or its
// tab title ("grid", "Form skin"), in any case. False when the page is unknown (the valid names
// go to stderr) or the picture cannot be written.
bool shellScreenshot(const std::string& page, const std::filesystem::path& png);

// Headless: the form-skin example once per theme, with its frame pieces and shadow, to
// <outDir>/formskin-theme-NN.png. Returns the number of pictures that failed.
int renderThemes(const std::filesystem::path& outDir);

}  // namespace zxp::gallery
