#pragma once
// The element names of a label document's compound file, shared by the
// document's source files and the tools that look inside documents.

namespace orvella::label_layout {

inline constexpr char kDataInfoStream[] = "DataInfo";
inline constexpr char kSheetList[] = "Sheets\\NameList";
inline constexpr char kInfoStream[] = "Info";
inline constexpr char kPaperInfoStream[] = "PaperInfo";
inline constexpr char kExtraInfoStream[] = "PaperExtraInfo";
inline constexpr char kImageInfoStream[] = "PaperImageInfo";
inline constexpr char kImagesStorage[] = "PaperImages";
// Inside a sheet's storage: the face object streams and the previews.
inline constexpr char kObjectList[] = "NameList";
inline constexpr char kPreviewList[] = "Preview";

}  // namespace orvella::label_layout
