#pragma once
// Saving the current face as a picture: the six types the export dialog
// offers (bitmap or JPEG, each at screen size, 180 dpi or 360 dpi).

#include <QString>

#include <cstdint>
#include <span>

namespace orvella {

class TLabelData;

struct TImageExportType {
    const char* Caption;  // the dialog's text for the type
    const char* Ext;      // "bmp" or "jpg"
    int32_t Scale;        // percent of the screen size
    bool Jpeg;
};

std::span<const TImageExportType> ImageExportTypes();

// "caption|*.ext|..." for the export dialog.
QString ImageExportFilter();

// Renders the face of data's current sheet at the type's scale and writes
// it. Raises std::runtime_error when the file cannot be written.
void ExportFaceImage(TLabelData& data, int32_t face, const TImageExportType& type, const QString& fileName);

}  // namespace orvella
