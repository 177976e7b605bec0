#pragma once
#include <windows.h>

// Base of every window the program implements. A window of one of our own classes
// is bound to its object from its very first message; an existing window (a system
// control, the MDI client) can be subclassed so that its messages pass through the
// object first. Derived classes override WindowProc with one switch that calls one
// handler per message, and call DefaultProc for everything they leave alone.
class CWindow {
public:
    CWindow() = default;
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;
    virtual ~CWindow();

    HWND Handle() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Registers a class whose window procedure dispatches to CWindow objects. The
    // caller fills in everything except cbSize and lpfnWndProc.
    static ATOM RegisterClass(WNDCLASSEXA wc);

    // Creates a window of a class registered with RegisterClass, bound to this object.
    HWND Create(const char* className, const char* text, DWORD style, DWORD exStyle,
                int x, int y, int width, int height, HWND parent, HMENU menu);

    // Routes an existing window's messages through this object.
    bool Subclass(HWND hWnd);
    void Unsubclass();

    bool DestroyWindow();

    // The object that owns hWnd, or null.
    static CWindow* FromHandle(HWND hWnd);

protected:
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The processing the window would get without this object.
    virtual LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Called after the last message (WM_NCDESTROY), when the handle is already gone.
    virtual void OnFinalMessage() {}

private:
    static LRESULT CALLBACK StaticWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hWnd);
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    WNDPROC m_superProc = nullptr;  // the subclassed window's own procedure
};
