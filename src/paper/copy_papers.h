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

// The user's own catalog file merged into the program's catalog at start;
// the catalog stays unmodified.
void MergeUserPaperFile(TPapersV2& catalog, const std::string& userFile);

// At exit and before the catalog is replaced: when the catalog was
// modified, its user papers replace userFile (its folder is made first)
// and the catalog counts as saved.
void SaveModifiedUserPapers(TPapersV2& catalog, const std::string& userFile);

// Replaces the program's catalog by one opened anew on the two files (after
// a paper update). The user's papers are saved first when modified; when
// anything fails, the previous catalog stays in use and the failure goes to
// the caller.
void ReloadProgramPapers(const std::string& systemFile, const std::string& userFile);

}  // namespace orvella
