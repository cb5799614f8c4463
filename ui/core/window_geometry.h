// The arithmetic of a borderless skinned frame, free of Windows: where a
// point lies (resize border, caption, client), where a centred window goes
// and the rectangle of its rounded region. The window base feeds it client
// coordinates.
#pragma once

namespace SkinUI {

struct FrameRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct FramePoint {
    int x = 0;
    int y = 0;
};

// Hit-test codes, the values WM_NCHITTEST answers.
enum FrameHit {
    FrameHitClient = 1,
    FrameHitCaption = 2,
    FrameHitLeft = 10,
    FrameHitRight = 11,
    FrameHitTop = 12,
    FrameHitTopLeft = 13,
    FrameHitTopRight = 14,
    FrameHitBottom = 15,
    FrameHitBottomLeft = 16,
    FrameHitBottomRight = 17,
};

// The resize border under pt (sizeBox holds the border widths), or
// FrameHitClient when pt is inside them.
int ResizeBorderHit(const FrameRect& client, const FrameRect& sizeBox, FramePoint pt);

// Whether pt lies in the caption band: caption.left and caption.right are
// insets from the sides, caption.top and caption.bottom are measured from the
// top of the client area.
bool InCaptionBand(const FrameRect& client, const FrameRect& caption, FramePoint pt);

// Whether a control of this class, inside the caption band, drags the window:
// everything but buttons, options and text controls does.
bool CaptionControlDrags(const wchar_t* className);

// The top-left corner of a width × height window centred in area and moved
// back inside work where it sticks out.
FramePoint CenteredPosition(const FrameRect& area, const FrameRect& work, int width, int height);

// The rectangle a rounded window region is made from: the window moved to
// (0, 0) with right and bottom one pixel further.
FrameRect RoundRegionRect(const FrameRect& window);

}  // namespace SkinUI
