#pragma once
// The program's printer: the system's default printer, one document at a time, drawn in the
// printer's device pixels. No print dialog; the default printer is looked up at each use, so
// a change of the default between jobs is followed.
#include <windows.h>

#include <string>

#include "framework/Canvas.h"
#include "framework/Gdi.h"

namespace fw {

class Printer {
public:
    // The one printer object of the program.
    static Printer& Instance();

    Printer() = default;
    ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    // The document name of the next job.
    void SetTitle(std::wstring title) { title_ = std::move(title); }
    const std::wstring& Title() const { return title_; }

    // Starts a document of the title and its first page. While the spooler works, the abort
    // procedure runs the application's pending messages, so handlers may run in between.
    // Raises Error("There is no default printer currently selected") when there is none and
    // Error("Printing in progress") while a document of this object is being begun or
    // spooled (that document is not disturbed).
    void BeginDoc();
    // Ends the page and the document and goes back to idle (not printing, page number 0).
    void EndDoc();
    // Cancels the document (AbortDoc) and goes back to idle. Also for handlers that run
    // inside the abort procedure: the spooler is told to stop at its next call.
    void Abort();

    bool Printing() const { return printing_; }
    int PageNumber() const { return page_; }

    // The printer's DC, made for the default printer on first use and kept until the
    // document ends. Raises the no-printer error when there is no default printer.
    HDC Handle();
    Canvas& GetCanvas();
    int BitsPerPixel();

private:
    static BOOL CALLBACK AbortProc(HDC dc, int error);
    class SpoolerCall;
    void Finish();  // back to idle and the DC let go

    std::wstring title_;
    MemoryDc dc_;  // DeleteDC serves printer DCs as well
    Canvas canvas_;
    bool printing_ = false;
    bool started_ = false;  // StartDoc succeeded: EndDoc or AbortDoc is owed
    bool aborted_ = false;
    int inSpooler_ = 0;  // depth of document calls that may run the abort procedure
    int page_ = 0;
};

}  // namespace fw
