#pragma once
// A tree to copy with several threads: enough files in several folders for the copies to end
// out of order, an earlier copy in the target, and some target files held open so that their
// copies fail.
#include "common/Handles.h"

#include <string>
#include <vector>

// Lays the source tree into folder `source`: files at the top, nested folders, an empty one,
// and a hidden one that a tree copy passes over.
void MakePlantedSource(const std::wstring& source);

// Lays an earlier copy into folder `target`: some files and a folder already there, one of
// them read-only. The files returned are held open without sharing until they go.
std::vector<TUniqueFile> MakePlantedTarget(const std::wstring& target);

// Paths relative to the planted folders: the target files held open.
std::vector<std::wstring> PlantedHeldFiles();
