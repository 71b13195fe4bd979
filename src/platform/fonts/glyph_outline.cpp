#include "platform/fonts/glyph_outline.h"

#include <QPainterPath>

namespace orvella {

void TGlyphOutline::AddTo(QPainterPath& path, double dx, double dy) const
{
    for (const TContour& contour : Contours) {
        path.moveTo(contour.Start.x + dx, contour.Start.y + dy);
        for (const TOutlineSegment& segment : contour.Segments) {
            const TOutlinePoint* p = segment.Points;
            switch (segment.Kind) {
            case TSegmentKind::Line:
                path.lineTo(p[0].x + dx, p[0].y + dy);
                break;
            case TSegmentKind::Quadratic:
                path.quadTo(p[0].x + dx, p[0].y + dy, p[1].x + dx, p[1].y + dy);
                break;
            case TSegmentKind::Cubic:
                path.cubicTo(p[0].x + dx, p[0].y + dy, p[1].x + dx, p[1].y + dy, p[2].x + dx, p[2].y + dy);
                break;
            }
        }
        path.closeSubpath();
    }
}

}  // namespace orvella
