// CManagerUI: WM_PAINT. The lazy layout pass, then either the normal path
// (an off-screen 32-bit DIB copied to the window, so the screen never shows
// partial drawing) or the layered path (a per-pixel-alpha canvas handed to
// UpdateLayeredWindow).
#include "ui/controls/control_ui.h"
#include "ui/core/manager_ui.h"
#include "ui/core/painter_gdi.h"

namespace SkinUI {

namespace {

CControlUI* CollectPending(CControlUI* control, void* data) {
    if (!control->LayoutPending()) return nullptr;
    static_cast<PtrArray*>(data)->Add(control);
    // Found: its own placement lays out its children.
    return control;
}

CControlUI* FirstPending(CControlUI* control, void*) {
    return control->LayoutPending() ? control : nullptr;
}

HBITMAP NewCanvas(HDC dc, SIZE size) {
    uint32_t* bits = nullptr;
    return CreateDib32(dc, size.cx, size.cy, &bits);
}

HPEN UpdateRectPen() {
    static HPEN pen = CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
    return pen;
}

void DeleteDcAndBitmap(HDC& dc, HBITMAP& bitmap, HGDIOBJ& old) {
    if (dc != nullptr && old != nullptr) SelectObject(dc, old);
    old = nullptr;
    if (dc != nullptr) DeleteDC(dc);
    if (bitmap != nullptr) DeleteObject(bitmap);
    dc = nullptr;
    bitmap = nullptr;
}

}  // namespace

SIZE CManagerUI::ClientSize() const {
    RECT client = {0, 0, 0, 0};
    if (tree_.paintWindow != nullptr) GetClientRect(tree_.paintWindow, &client);
    return {client.right - client.left, client.bottom - client.top};
}

void CManagerUI::ReleasePaintObjects() {
    HGDIOBJ none = nullptr;
    DeleteDcAndBitmap(tree_.offscreenDC, tree_.offscreenBitmap, none);
    DeleteDcAndBitmap(tree_.backgroundDC, tree_.backgroundBitmap, tree_.backgroundOld);
}

void CManagerUI::RunLayoutPass(const RECT& client) {
    if (tree_.layoutDirty) {
        tree_.layoutDirty = false;
        if (!IsRectEmpty(&client)) {
            CControlUI* root = tree_.root;
            if (root->LayoutPending()) {
                if (!tree_.layered) ReleasePaintObjects();
                root->Place(client, true);
            } else if (!tree_.layered) {
                tree_.found.Empty();
                root->Search(CollectPending, &tree_.found, SearchVisible | SearchUpdateTest | SearchMeFirst);
                for (int i = 0; i < tree_.found.GetSize(); ++i) {
                    auto* control = static_cast<CControlUI*>(tree_.found.GetAt(i));
                    control->Place(control->IsFloating() ? control->RectInParent() : control->ItemRect(),
                                   true);
                }
            } else {
                // Each placement may leave others pending; the walk ends when
                // none asks any more (a control that re-requests during its
                // own placement is placed once per pass at most).
                const int limit = 10000;
                for (int n = 0; n < limit; ++n) {
                    CControlUI* control = root->Search(FirstPending, nullptr, SearchVisible | SearchMeFirst);
                    if (control == nullptr) break;
                    control->Place(control->ItemRect(), true);
                    if (control->LayoutPending()) break;
                }
            }
            if (tree_.firstLayout) {
                tree_.firstLayout = false;
                if (tree_.layered) {
                    LONG style = GetWindowLongW(tree_.paintWindow, GWL_EXSTYLE);
                    if ((style & WS_EX_LAYERED) == 0)
                        SetWindowLongW(tree_.paintWindow, GWL_EXSTYLE, style | WS_EX_LAYERED);
                }
                RaiseNotify(tree_.root, UI_TEXT("windowinit"));
            }
        }
    }
    if (tree_.focusNeeded) MoveFocus(true);
}

void CManagerUI::OnPaintMessage() {
    if (tree_.layered && tree_.root != nullptr) {
        PaintLayered();
    } else {
        PaintNormal();
    }
}

void CManagerUI::PaintNormal() {
    HWND window = tree_.paintWindow;
    RECT update;
    if (!GetUpdateRect(window, &update, FALSE)) return;
    PAINTSTRUCT ps;
    if (tree_.root == nullptr) {
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return;
    }
    RECT client;
    GetClientRect(window, &client);
    RunLayoutPass(client);
    // A focus or windowinit handler may have replaced the tree or closed the
    // window.
    if (tree_.root == nullptr || !IsWindow(window)) return;

    HGDIOBJ none = nullptr;
    DeleteDcAndBitmap(tree_.offscreenDC, tree_.offscreenBitmap, none);
    const SIZE size = ClientSize();
    tree_.offscreenDC = CreateCompatibleDC(PaintDC());
    tree_.offscreenBitmap = NewCanvas(tree_.offscreenDC, size);

    HDC screen = BeginPaint(window, &ps);
    if (tree_.offscreenDC == nullptr || tree_.offscreenBitmap == nullptr) {
        // No memory for the bitmap: draw straight on the window.
        tree_.root->Paint(screen, ps.rcPaint);
        EndPaint(window, &ps);
        return;
    }
    const RECT& paint = ps.rcPaint;
    const int width = paint.right - paint.left;
    const int height = paint.bottom - paint.top;
    HGDIOBJ old = SelectObject(tree_.offscreenDC, tree_.offscreenBitmap);
    const int saved = SaveDC(tree_.offscreenDC);
    if (tree_.keepBackground) {
        if (tree_.backgroundBitmap == nullptr) {
            tree_.backgroundDC = CreateCompatibleDC(PaintDC());
            tree_.backgroundBitmap = NewCanvas(tree_.backgroundDC, size);
            if (tree_.backgroundDC != nullptr && tree_.backgroundBitmap != nullptr) {
                tree_.backgroundOld = SelectObject(tree_.backgroundDC, tree_.backgroundBitmap);
                // What lay under the window the first time it was painted.
                BitBlt(tree_.backgroundDC, paint.left, paint.top, width, height, screen, paint.left,
                       paint.top, SRCCOPY);
            }
        }
        if (tree_.backgroundDC != nullptr && tree_.backgroundBitmap != nullptr) {
            BitBlt(tree_.offscreenDC, paint.left, paint.top, width, height, tree_.backgroundDC, paint.left,
                   paint.top, SRCCOPY);
        }
    }
    tree_.root->Paint(tree_.offscreenDC, paint);
    for (int i = 0; i < tree_.afterPaint.GetSize(); ++i) {
        static_cast<CControlUI*>(tree_.afterPaint.GetAt(i))->AfterPaint(tree_.offscreenDC, paint);
    }
    BitBlt(screen, paint.left, paint.top, width, height, tree_.offscreenDC, paint.left, paint.top, SRCCOPY);
    RestoreDC(tree_.offscreenDC, saved);
    SelectObject(tree_.offscreenDC, old);

    if (tree_.showUpdateRect) {
        HGDIOBJ oldPen = SelectObject(screen, UpdateRectPen());
        HGDIOBJ oldBrush = SelectObject(screen, GetStockObject(NULL_BRUSH));
        Rectangle(screen, update.left, update.top, update.right, update.bottom);
        SelectObject(screen, oldBrush);
        SelectObject(screen, oldPen);
    }
    EndPaint(window, &ps);
    if (tree_.layoutDirty) InvalidateRect(window, nullptr, FALSE);
}

void CManagerUI::PaintLayered() {
    HWND window = tree_.paintWindow;
    RECT client;
    GetClientRect(window, &client);
    PAINTSTRUCT ps;
    BeginPaint(window, &ps);
    DeleteDcAndBitmap(tree_.backgroundDC, tree_.backgroundBitmap, tree_.backgroundOld);
    RunLayoutPass(client);
    if (tree_.root == nullptr || !IsWindow(window)) {
        EndPaint(window, &ps);
        return;
    }
    const SIZE size = ClientSize();
    tree_.backgroundDC = CreateCompatibleDC(PaintDC());
    tree_.backgroundBitmap = NewCanvas(tree_.backgroundDC, size);
    if (tree_.backgroundDC != nullptr && tree_.backgroundBitmap != nullptr) {
        tree_.backgroundOld = SelectObject(tree_.backgroundDC, tree_.backgroundBitmap);
        // A fresh DIB section is all zero: what no control draws stays fully
        // transparent.
        tree_.root->Paint(tree_.backgroundDC, client);
        RECT frame;
        GetWindowRect(window, &frame);
        POINT destination = {frame.left, frame.top};
        POINT source = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UpdateLayeredWindow(window, nullptr, &destination, const_cast<SIZE*>(&size), tree_.backgroundDC,
                            &source, 0, &blend, ULW_ALPHA);
    }
    EndPaint(window, &ps);
}

}  // namespace SkinUI
