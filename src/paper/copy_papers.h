#pragma once
// Moving papers between catalogs, and the program's one catalog: the system
// catalog with the user's papers merged in, and the user's papers written
// back to their own file.

#include "paper/papers.h"

#include <functional>
#include <memory>
#include <string>

namespace orvella {

// Called before each paper with its 1-based position and the paper count.
using TCopyProgress = std::function<void(int position, int count)>;

// Copies the user papers (takeUser) and the system papers (takeSystem) of
// source into destination with their section records. A user paper named
// like a system paper of the destination gets "$" appended until no paper
// of the destination holds its name. With takeSystem the destination also takes the source's release
// number, maker and group lists and "GlobalInfo".
void CopyPapers(TPapersV2& destination, const TPapersV2& source, bool takeUser, const TCopyProgress& progress,
                bool takeSystem);

// The system catalog (read-only) with the user's papers of userFile, when
// that file exists; not modified afterwards.
std::unique_ptr<TPapersV2> OpenProgramCatalog(const std::string& systemFile, const std::string& userFile);

// Brings the user papers of another catalog file in; the catalog becomes modified.
void ImportUserPapers(TPapersV2& catalog, const std::string& fileName);

// Writes every user paper of the catalog with its records into fileName,
// replacing the file as a whole (through a temporary file and a rename).
void SaveUserPapers(const TPapersV2& catalog, const std::string& fileName);

}  // namespace orvella
