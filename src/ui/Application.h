#pragma once
#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TForm;

// The program's application object: COM and common controls for the GUI thread, the title,
// the default error report, the message loop and the forms it owns. Its life is a
// TApplicationScope inside wWinMain, not the life of the process.
class TApplication {
public:
    void Initialize();
    // Destroys every form it owns, the last made first, then releases COM.
    void Finalize() noexcept;

    std::wstring Title;

    // The default error report: error icon, OK, the title as caption; a full stop is added
    // when the message's last character's code is above that of the full stop.
    // Every report also goes to the log file. Unattended, nobody could answer a box: the
    // report goes to the log file only and is remembered (ErrorReported).
    void ShowException(const std::wstring& message) noexcept;
    bool Unattended = false;
    bool ErrorReported() const noexcept { return FErrorReported; }
    // Reports the exception being handled; for catch blocks at the Windows boundary.
    void HandleException() noexcept;
    // For paints and timers: keeps the exception being handled, unless one is kept or being
    // reported already; ReportDeferred reports it after the message.
    void DeferException() noexcept;
    void ReportDeferred() noexcept;

    // One pass over the pending messages, so that windows repaint during long steps.
    void ProcessMessages();
    // The message loop: runs until the main form is destroyed; the main form's idle work
    // (TForm::Idle) goes between messages.
    int Run();

    // Creates a form that the application owns; the first one becomes the main form.
    template <typename T> T& CreateForm() {
        auto form = std::make_unique<T>();
        T& result = *form;
        Adopt(std::move(form));
        return result;
    }
    // The same, made in the message loop's first idle turn: for a form that nothing shows
    // before then, so that the main form paints sooner.
    template <typename T> void CreateFormWhenIdle() {
        FIdleForms.push_back([this] { CreateForm<T>(); });
    }
    TForm* MainForm() const noexcept { return FMainForm; }
    void SetMainForm(TForm* form) noexcept { FMainForm = form; }

private:
    void Adopt(std::unique_ptr<TForm> form);

    std::vector<std::unique_ptr<TForm>> FForms;
    std::vector<std::function<void()>> FIdleForms;
    TForm* FMainForm = nullptr;
    HRESULT FComResult = E_FAIL;
    bool FErrorReported = false;
    std::exception_ptr FDeferred;
    bool FReportingDeferred = false;
};

extern TApplication Application;

// The application's life as a scope of wWinMain: on leaving it, the windows are destroyed and
// COM is released, in that order, before wWinMain returns and before static destruction.
class TApplicationScope {
public:
    TApplicationScope() { Application.Initialize(); }
    ~TApplicationScope() { Application.Finalize(); }
    TApplicationScope(const TApplicationScope&) = delete;
    TApplicationScope& operator=(const TApplicationScope&) = delete;
};

// Translates and dispatches one message, with dialog keyboard navigation for our forms.
void DispatchOne(MSG& msg);
