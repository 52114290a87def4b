#include "framework/Printer.h"

#include <vector>

#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/MessageLoop.h"
#include "framework/SystemLibrary.h"

namespace fw {

namespace {

// The printer whose document is running; the abort procedure gets no data pointer, and one
// document at a time is all the program ever prints.
Printer* g_spooling = nullptr;

std::wstring DefaultPrinterName() {
    static auto* getDefaultPrinter =
        SystemFunction<decltype(::GetDefaultPrinterW)>(L"winspool.drv", "GetDefaultPrinterW");
    DWORD size = 0;
    getDefaultPrinter(nullptr, &size);
    if (size == 0) return {};
    std::vector<wchar_t> name(size);
    if (!getDefaultPrinter(name.data(), &size)) return {};
    return name.data();
}

}  // namespace

Printer& Printer::Instance() {
    static Printer* printer = new Printer();  // lives as long as the process
    return *printer;
}

Printer::~Printer() {
    if (printing_) Abort();
    canvas_.Detach();
}

HDC Printer::Handle() {
    if (!dc_) {
        const std::wstring name = DefaultPrinterName();
        if (name.empty()) throw Error(L"There is no default printer currently selected");
        dc_.Reset(::CreateDCW(L"WINSPOOL", name.c_str(), nullptr, nullptr));
        if (!dc_) throw Error(L"Cannot open the default printer");
    }
    return dc_.Get();
}

Canvas& Printer::GetCanvas() {
    if (!canvas_.Attached()) canvas_.Attach(Handle());
    return canvas_;
}

int Printer::BitsPerPixel() {
    HDC dc = Handle();
    return ::GetDeviceCaps(dc, BITSPIXEL) * ::GetDeviceCaps(dc, PLANES);
}

BOOL CALLBACK Printer::AbortProc(HDC, int) {
    // A Win32 callback: nothing may unwind through the spooler.
    try {
        MessageLoop::ProcessMessages();
    } catch (...) {
        Application::Instance().HandleException(std::current_exception());
    }
    return g_spooling && !g_spooling->aborted_;
}

// Marks a document call during which the abort procedure may run handlers: an Abort from
// one of them only flags the document, and the call's own caller cleans up after it returns.
class Printer::SpoolerCall {
public:
    explicit SpoolerCall(Printer& printer) : printer_(printer) { ++printer_.inSpooler_; }
    ~SpoolerCall() { --printer_.inSpooler_; }
    SpoolerCall(const SpoolerCall&) = delete;
    SpoolerCall& operator=(const SpoolerCall&) = delete;

private:
    Printer& printer_;
};

void Printer::BeginDoc() {
    if (printing_) throw Error(L"Printing in progress");
    // Printing from here on: a handler run by the abort procedure while the document is begun
    // is refused as well.
    printing_ = true;
    aborted_ = false;
    page_ = 0;
    try {
        HDC dc = Handle();
        g_spooling = this;
        ::SetAbortProc(dc, &Printer::AbortProc);
        DOCINFOW info{};
        info.cbSize = sizeof info;
        info.lpszDocName = title_.c_str();
        {
            SpoolerCall call(*this);
            started_ = ::StartDocW(dc, &info) > 0;
            if (!started_ || aborted_ || ::StartPage(dc) <= 0 || aborted_) throw Error(L"Printing failed");
        }
        page_ = 1;
        GetCanvas();
    } catch (...) {
        const bool byRequest = aborted_;
        Abort();
        if (!byRequest) throw;
    }
}

void Printer::EndDoc() {
    if (!printing_) return;
    canvas_.Detach();
    bool ok;
    {
        SpoolerCall call(*this);
        ok = ::EndPage(dc_.Get()) > 0 && !aborted_ && ::EndDoc(dc_.Get()) > 0;
    }
    if (ok) {
        started_ = false;
        Finish();
        return;
    }
    const bool byRequest = aborted_;
    Abort();
    if (!byRequest) throw Error(L"Printing failed");
}

void Printer::Abort() {
    if (!printing_) return;
    aborted_ = true;
    if (inSpooler_ > 0) return;  // the running call sees the flag and cleans up
    if (started_ && dc_) ::AbortDoc(dc_.Get());
    started_ = false;
    Finish();
}

void Printer::Finish() {
    canvas_.Detach();
    if (g_spooling == this) g_spooling = nullptr;
    dc_.Reset();
    printing_ = false;
    page_ = 0;
}

}  // namespace fw
