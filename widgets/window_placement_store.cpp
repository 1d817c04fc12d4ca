#include "widgets/window_placement_store.h"

#include "platform/framework/form.h"
#include "platform/messages/application.h"
#include "platform/registry/ini_file.h"
#include "platform/text/format.h"
#include "platform/windows/screen_fit.h"
#include "platform/windows/screens.h"
#include "platform/windows/top_level_window.h"
#include "platform/windows/window_host.h"
#include "widgets/str_utils.h"

namespace rv {

namespace {

constexpr const char* kDelims = " ,";

// A position text under the suffixed name, or under the plain one when that is empty.
std::string ReadPosition(TCustomIniFile* ini, const std::string& section, const std::string& name) {
    std::string text = IniReadString(ini, section, name + ScreenSuffix(), "");
    return text.empty() ? IniReadString(ini, section, name, "") : text;
}

int Word(const std::string& text, int n, int defaultValue) {
    return StrToIntDef(NthWord(n, text, kDelims), defaultValue);
}

void WritePosition(TCustomIniFile* ini, const std::string& section, const std::string& name,
                   const std::string& text) {
    IniWriteString(ini, section, name + ScreenSuffix(), text);
    IniWriteString(ini, section, name, text);
}

bool Sizeable(const TCustomForm* form) {
    return form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin;
}

}  // namespace

std::string IniReadString(TCustomIniFile* ini, const std::string& section, const std::string& ident,
                          const std::string& defaultValue) {
    return ini ? ini->ReadString(section, ident, defaultValue) : defaultValue;
}

int IniReadInteger(TCustomIniFile* ini, const std::string& section, const std::string& ident,
                   int defaultValue) {
    return ini ? ini->ReadInteger(section, ident, defaultValue) : defaultValue;
}

void IniWriteString(TCustomIniFile* ini, const std::string& section, const std::string& ident,
                    const std::string& value) {
    if (!ini) return;
    const bool quoted = !value.empty() && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (!quoted || !dynamic_cast<TIniFile*>(ini)) return ini->WriteString(section, ident, value);
    std::string wrapped = "\"";
    wrapped += value;
    wrapped += '"';
    ini->WriteString(section, ident, wrapped);
}

void IniWriteInteger(TCustomIniFile* ini, const std::string& section, const std::string& ident,
                     int value) {
    if (ini) ini->WriteInteger(section, ident, value);
}

std::string ScreenSuffix() {
    return Format("(%dx%d)", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void WriteWindowPlacement(TCustomForm* form, TCustomIniFile* ini, const std::string& section) {
    // The main form is the application's window: minimised, its placement says so itself.
    TWindowPlacement p;
    GetWindowPlacement(form->Handle(), p);
    IniWriteInteger(ini, section, "Flags", int(p.flags));
    IniWriteInteger(ini, section, "ShowCmd", p.showCmd);
    IniWriteInteger(ini, section, "PixelsPerInch", ScreenPixelsPerInch());
    WritePosition(ini, section, "MinMaxPos",
                  Format("%d,%d,%d,%d", p.ptMinPosition.X, p.ptMinPosition.Y, p.ptMaxPosition.X,
                         p.ptMaxPosition.Y));
    const TRect& r = p.rcNormalPosition;
    WritePosition(ini, section, "NormPos", Format("%d,%d,%d,%d", r.Left, r.Top, r.Right, r.Bottom));
}

namespace {

void ReadPositionValues(TCustomForm* form, TCustomIniFile* ini, const std::string& section,
                        TWindowPlacement& p) {
    bool found = false;
    p.flags = unsigned(IniReadInteger(ini, section, "Flags", int(p.flags)));
    std::string text = ReadPosition(ini, section, "MinMaxPos");
    if (!text.empty()) {
        found = true;
        p.ptMinPosition = {Word(text, 1, 0), Word(text, 2, 0)};
        p.ptMaxPosition = {Word(text, 3, 0), Word(text, 4, 0)};
    }
    text = ReadPosition(ini, section, "NormPos");
    if (!text.empty()) {
        found = true;
        p.rcNormalPosition = {Word(text, 1, form->Left()), Word(text, 2, form->Top()),
                              Word(text, 3, form->Left() + form->Width()),
                              Word(text, 4, form->Top() + form->Height())};
    }
    int screenPpi = ScreenPixelsPerInch();
    if (!found || IniReadInteger(ini, section, "PixelsPerInch", screenPpi) != screenPpi) return;
    TRect& r = p.rcNormalPosition;
    if (!Sizeable(form)) r = Bounds(r.Left, r.Top, form->Width(), form->Height());
    if (r.Right <= r.Left) return;
    r = FitOntoScreens(r, ScreenWorkAreas());
    if (form->Position == poScreenCenter || form->Position == poDesktopCenter)
        form->Position = poDesigned;
    SetWindowPlacement(form->Handle(), p);
}

// False when the state is left to a posted minimise of the main form.
bool ReadState(TCustomForm* form, TCustomIniFile* ini, const std::string& section) {
    bool mainForm = !Application || !Application->MainWindow() || form->IsMainForm();
    TWindowState state = mainForm && form->Position == poDefault ? wsMaximized : wsNormal;
    switch (IniReadInteger(ini, section, "ShowCmd", 0)) {
        case SW_SHOWNORMAL:
        case SW_SHOW:
        case SW_RESTORE:
            state = wsNormal;
            break;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
            state = wsMinimized;
            break;
        case SW_SHOWMAXIMIZED:
            state = wsMaximized;
            break;
        default:
            break;
    }
    if (state == wsMinimized && mainForm) {
        // The whole program goes to the task bar, once the form is up.
        form->SetWindowState(wsNormal);
        HWND target =
            Application && Application->MainWindow() ? Application->MainWindow() : form->Handle();
        PostMessage(target, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return false;
    }
    form->SetWindowState(state);
    return true;
}

}  // namespace

void ReadWindowPlacement(TCustomForm* form, TCustomIniFile* ini, const std::string& section,
                         bool loadPosition, bool loadState) {
    if (!loadPosition && !loadState) return;
    TWindowPlacement p;
    GetWindowPlacement(form->Handle(), p);
    if (!IsWindowVisible(form->Handle())) p.showCmd = SW_HIDE;
    if (loadPosition) ReadPositionValues(form, ini, section, p);
    if (loadState && !ReadState(form, ini, section)) return;
    form->Update();
}

}  // namespace rv
