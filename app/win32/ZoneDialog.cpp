#include "app/win32/ZoneDialog.h"

#include "app/Menu.h"
#include "app/win32/WideText.h"

#include <string_view>
#include <vector>

namespace shell {

namespace {

constexpr WORD editId = 100;

// The predefined window classes of a dialog template's controls, by their
// atoms: a type of their own, so that a control's class and its identifier,
// both words, are never taken for each other.
enum class ControlClass : WORD { Button = 0x0080, Edit = 0x0081, Static = 0x0082 };

// A dialog template built in memory, in the words DialogBoxIndirectParamW
// reads: the dialog, then each control on a four-byte boundary.
class DialogTemplate {
public:
    // Lengths are dialog units, which follow the dialog's font.
    DialogTemplate(std::wstring_view title, short widthDu, short heightDu) {
        const DWORD style = DS_SHELLFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        add(style);
        add(DWORD{0});  // no extended style
        words.push_back(0);  // the number of controls, counted as they come
        words.insert(words.end(), {0, 0, static_cast<WORD>(widthDu), static_cast<WORD>(heightDu)});
        words.insert(words.end(), {0, 0});  // no menu, the standard dialog class
        add(title);
        words.push_back(8);  // the font's size, points
        add(L"MS Shell Dlg");
    }

    void control(ControlClass windowClass, std::wstring_view text, WORD id, DWORD style, short xDu, short yDu,
                 short widthDu, short heightDu) {
        if (words.size() % 2 != 0) {
            words.push_back(0);
        }
        add(style | WS_CHILD | WS_VISIBLE);
        add(DWORD{0});
        words.insert(words.end(), {static_cast<WORD>(xDu), static_cast<WORD>(yDu), static_cast<WORD>(widthDu),
                                   static_cast<WORD>(heightDu), id, 0xFFFF, static_cast<WORD>(windowClass)});
        add(text);
        words.push_back(0);  // no creation data
        ++words[controlCount];
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words.data()); }

private:
    void add(DWORD value) { words.insert(words.end(), {LOWORD(value), HIWORD(value)}); }
    void add(std::wstring_view text) {
        words.insert(words.end(), text.begin(), text.end());
        words.push_back(0);
    }

    static constexpr std::size_t controlCount = 4;  // the word after the style and the extended style
    std::vector<WORD> words;  // a WORD's alignment, as DialogBoxIndirectParamW wants
};

std::wstring textOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
        return TRUE;  // the focus goes to the first control that takes it, the line
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case editId:
            if (HIWORD(wParam) == EN_CHANGE) {
                const std::string typed = trimmedZone(utf8FromWide(textOf(GetDlgItem(dialog, editId))));
                EnableWindow(GetDlgItem(dialog, IDOK), typed.empty() ? FALSE : TRUE);
            }
            return TRUE;
        case IDOK: {
            auto* zone = reinterpret_cast<std::string*>(GetWindowLongPtrW(dialog, DWLP_USER));
            *zone = trimmedZone(utf8FromWide(textOf(GetDlgItem(dialog, editId))));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

}  // namespace

std::string askForZone(HWND owner) {
    DialogTemplate dialog(L"Time zone", 200, 62);
    dialog.control(ControlClass::Static, L"The zone's IANA name, such as Europe/Lisbon:", 0xFFFF, SS_LEFT, 7, 7,
                   186, 9);
    dialog.control(ControlClass::Edit, L"", editId, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 19, 186, 14);
    dialog.control(ControlClass::Button, L"OK", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 89, 41, 50, 14);
    dialog.control(ControlClass::Button, L"Cancel", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 143, 41, 50, 14);
    std::string zone;
    const INT_PTR ended = DialogBoxIndirectParamW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)),
                                                  dialog.get(), owner, dialogProc, reinterpret_cast<LPARAM>(&zone));
    return ended == IDOK ? zone : std::string();
}

}  // namespace shell
