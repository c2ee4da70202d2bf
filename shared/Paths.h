#pragma once

#include "URL.h"

#include <optional>

// The program's well-known folders, set by getPaths().
extern std::optional<URL> documentsURL;
extern std::optional<URL> resourcesURL;
// Reserved folders for shared audio and MIDI files; nothing sets them yet.
extern std::optional<URL> sharedURLAudio;
extern std::optional<URL> sharedURLMIDI;

// True when a directory stands at the URL's path or could be created there
// (with every missing parent). False, after one error line through
// debugprint, when creation fails or a file that is not a directory is in the
// way.
bool ensureDirectoryExists(const URL& url);

// Sets documentsURL and resourcesURL and reports both through safeprint.
void getPaths();
