#include "impress/private/uno_office.h"

#include <com/sun/star/awt/AsyncCallback.hpp>
#include <com/sun/star/awt/XCallback.hpp>
#include <com/sun/star/awt/XTopWindow2.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/presentation/XPresentation2.hpp>
#include <com/sun/star/presentation/XPresentationSupplier.hpp>
#include <com/sun/star/presentation/XSlideShowController.hpp>
#include <com/sun/star/presentation/XSlideShowListener.hpp>
#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionHandler.hpp>
#include <com/sun/star/task/XInteractionRequest.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/implbase1.hxx>
#include <rtl/bootstrap.hxx>
#include <rtl/ref.hxx>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <mutex>

#include "impress/file_url.h"
#include "impress/private/office_errors.h"

namespace rirerazo::impress {
namespace {

namespace uno = css::uno;
using rtl::OUString;
using uno::Reference;
using uno::UNO_QUERY;
using uno::UNO_QUERY_THROW;

OUString Ou(const std::string& text) {
  return OUString(text.data(), static_cast<sal_Int32>(text.size()), RTL_TEXTENCODING_UTF8);
}

std::string Utf8(const OUString& text) {
  return rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8).getStr();
}

css::beans::PropertyValue Property(const char* name, const uno::Any& value) {
  return css::beans::PropertyValue(OUString::createFromAscii(name), 0, value,
                                   css::beans::PropertyState_DIRECT_VALUE);
}

// The longest the office may take over one call (opening a large file included).
constexpr auto kAnswerLimit = std::chrono::seconds(60);

// Work for the office's main thread. The office's windows belong to that thread (its GTK
// backend deadlocks when another thread touches them), so every call goes there: the office
// calls `notify` from its main thread, and the calls made inside reach that same thread.
class MainThreadWork : public cppu::WeakImplHelper1<css::awt::XCallback> {
 public:
  explicit MainThreadWork(std::function<void()> work) : work_(std::move(work)) {}

  void SAL_CALL notify(const uno::Any&) override {
    std::exception_ptr error;
    try {
      work_();
    } catch (...) {
      error = std::current_exception();
    }
    std::lock_guard lock(mutex_);
    error_ = error;
    done_ = true;
    done_changed_.notify_all();
  }

  // Waits for the work, pausing in short steps; false when the office went away first or
  // did not answer within `limit`.
  bool Wait(const std::function<void(std::int64_t)>& pause, const std::function<bool()>& alive,
            std::chrono::steady_clock::duration limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    for (;;) {
      {
        std::unique_lock lock(mutex_);
        if (done_changed_.wait_for(lock, std::chrono::milliseconds(5), [&] { return done_; })) {
          return true;
        }
      }
      if (!alive() || std::chrono::steady_clock::now() > until) return false;
      pause(10);
    }
  }
  std::exception_ptr Error() {
    std::lock_guard lock(mutex_);
    return error_;
  }

 private:
  std::function<void()> work_;
  std::mutex mutex_;
  std::condition_variable done_changed_;
  bool done_ = false;
  std::exception_ptr error_;
};

// The process's own UNO environment, made once: the office's type libraries and the
// services a client needs to reach it (connector, bridge). It lives as long as the
// process, like the module.
Reference<uno::XComponentContext> LocalContext(const std::string& program_folder) {
  static std::mutex mutex;
  static auto* context = new Reference<uno::XComponentContext>();
  std::lock_guard lock(mutex);
  if (!context->is()) {
    // The office's unorc names its base types; the full office API lives beside it.
    rtl::Bootstrap::set(OUString("URE_MORE_TYPES"),
                        Ou(FileUrl(program_folder + "/types/offapi.rdb")));
    rtl::Bootstrap::set(OUString("URE_MORE_SERVICES"), OUString());
    *context =
        cppu::defaultBootstrap_InitialComponentContext(Ou(FileUrl(program_folder + "/unorc")));
  }
  return *context;
}

// Answers every question the office would ask while loading (a damaged file, a missing
// filter, a password) with "abort": a dialog on the office's main thread would block the
// player, and opening then fails with the open error.
class AbortingInteraction : public cppu::WeakImplHelper1<css::task::XInteractionHandler> {
 public:
  void SAL_CALL handle(const Reference<css::task::XInteractionRequest>& request) override {
    const auto continuations = request->getContinuations();
    for (sal_Int32 i = 0; i < continuations.getLength(); ++i) {
      Reference<css::task::XInteractionAbort> abort(continuations[i], UNO_QUERY);
      if (abort.is()) {
        abort->select();
        return;
      }
    }
  }
};

// Reports the show to the queue, on the office's bridge threads. It asks the show's
// controller for the slide now shown: the call goes back to the office's thread that is
// waiting for us, which the bridge allows.
class SlideListener : public cppu::WeakImplHelper1<css::presentation::XSlideShowListener> {
 public:
  SlideListener(std::shared_ptr<ShowEventQueue> events,
                Reference<css::presentation::XSlideShowController> controller, bool endless)
      : events_(std::move(events)), controller_(std::move(controller)), endless_(endless) {}

  void SAL_CALL slideTransitionStarted() override {
    try {
      events_->SlideShown(controller_->getCurrentSlideIndex() + 1);
    } catch (const uno::Exception&) {
    }
  }
  // A non-looping show that passes its last slide stops on an end screen of its own.
  void SAL_CALL slideEnded(sal_Bool reverse) override {
    if (reverse || endless_) return;
    try {
      if (controller_->getCurrentSlideIndex() + 1 >= controller_->getSlideCount()) {
        events_->PassedLastSlide();
      }
    } catch (const uno::Exception&) {
    }
  }
  void SAL_CALL disposing(const css::lang::EventObject&) override { events_->ShowEnded(); }

  void SAL_CALL paused() override {}
  void SAL_CALL resumed() override {}
  void SAL_CALL slideTransitionEnded() override {}
  void SAL_CALL slideAnimationsEnded() override {}
  void SAL_CALL hyperLinkClicked(const OUString&) override {}
  void SAL_CALL beginEvent(const Reference<css::animations::XAnimationNode>&) override {}
  void SAL_CALL endEvent(const Reference<css::animations::XAnimationNode>&) override {}
  void SAL_CALL repeat(const Reference<css::animations::XAnimationNode>&, sal_Int32) override {}

 private:
  std::shared_ptr<ShowEventQueue> events_;
  Reference<css::presentation::XSlideShowController> controller_;
  bool endless_;
};

}  // namespace

struct UnoOffice::Parts {
  std::shared_ptr<ShowEventQueue> events;
  OfficeThreadHooks hooks;
  Reference<css::awt::XRequestCallback> main_thread;
  Reference<css::bridge::XBridge> bridge;
  Reference<css::frame::XDesktop2> desktop;
  Reference<css::lang::XComponent> document;
  Reference<css::presentation::XPresentation2> presentation;
  Reference<css::presentation::XSlideShowController> controller;
  Reference<css::presentation::XSlideShowListener> listener;
  bool endless = false;

  Reference<css::awt::XWindow> Window() const {
    Reference<css::frame::XModel> model(document, UNO_QUERY);
    if (!model.is() || !model->getCurrentController().is()) return {};
    return model->getCurrentController()->getFrame()->getContainerWindow();
  }
  // Runs `work` on the office's main thread and waits for it; the office's exceptions
  // become the player's run-time error, prefixed with `what`.
  void Run(const std::string& what, std::function<void()> work,
           std::chrono::steady_clock::duration limit = kAnswerLimit) {
    rtl::Reference<MainThreadWork> call(new MainThreadWork(std::move(work)));
    try {
      main_thread->addCallback(Reference<css::awt::XCallback>(call.get()), uno::Any());
    } catch (const uno::Exception& error) {
      throw RuntimeError(kOfficeFailed, what + ": " + Utf8(error.Message));
    }
    if (!call->Wait(hooks.pause, hooks.alive, limit)) {
      // An office that hangs is ended, so the abandoned work never runs.
      if (hooks.alive()) hooks.abandon();
      throw RuntimeError(kOfficeFailed, what + ": the presentation application does not answer");
    }
    if (std::exception_ptr error = call->Error()) {
      try {
        std::rethrow_exception(error);
      } catch (const uno::Exception& uno_error) {
        throw RuntimeError(kOfficeFailed, what + ": " + Utf8(uno_error.Message));
      }
    }
  }
  Reference<css::beans::XPropertySet> ShowSettings() const {
    if (!presentation.is()) throw RuntimeError(kOfficeFailed, "No presentation is open");
    return Reference<css::beans::XPropertySet>(presentation, UNO_QUERY_THROW);
  }
};

std::unique_ptr<UnoOffice> UnoOffice::TryConnect(const std::string& program_folder,
                                                 const std::string& pipe_name,
                                                 std::shared_ptr<ShowEventQueue> events,
                                                 OfficeThreadHooks hooks) {
  auto parts = std::make_unique<Parts>();
  parts->events = std::move(events);
  parts->hooks = std::move(hooks);
  try {
    Reference<uno::XComponentContext> local = LocalContext(program_folder);
    Reference<css::connection::XConnection> connection =
        css::connection::Connector::create(local)->connect(Ou("pipe,name=" + pipe_name));
    parts->bridge = css::bridge::BridgeFactory::create(local)->createBridge(
        OUString(), OUString("urp"), connection, nullptr);
    Reference<uno::XComponentContext> remote(
        parts->bridge->getInstance(OUString("StarOffice.ComponentContext")), UNO_QUERY_THROW);
    parts->desktop = css::frame::Desktop::create(remote);
    parts->main_thread = css::awt::AsyncCallback::create(remote);
  } catch (const uno::Exception&) {
    // Not accepting yet, or accepting but not ready to serve: the caller tries again.
    if (parts->bridge.is()) Reference<css::lang::XComponent>(parts->bridge, UNO_QUERY)->dispose();
    return nullptr;
  }
  return std::unique_ptr<UnoOffice>(new UnoOffice(std::move(parts)));
}

UnoOffice::UnoOffice(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

// Our references to the office's objects go first; disposing the bridge then ends its
// threads, so none of them calls into us afterwards.
UnoOffice::~UnoOffice() {
  Reference<css::lang::XComponent> bridge(parts_->bridge, UNO_QUERY);
  parts_->main_thread.clear();
  parts_->listener.clear();
  parts_->controller.clear();
  parts_->presentation.clear();
  parts_->document.clear();
  parts_->desktop.clear();
  parts_->bridge.clear();
  try {
    if (bridge.is()) bridge->dispose();
  } catch (const uno::Exception&) {
  }
}

void UnoOffice::Open(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    throw RuntimeError(kOfficeFailed, "The presentation application could not open " + path);
  }
  // Visible (a hidden document cannot show a slide show), with its macros never run.
  const Reference<css::task::XInteractionHandler> no_questions(new AbortingInteraction);
  const css::beans::PropertyValue properties[] = {
      Property("Hidden", uno::Any(false)), Property("ReadOnly", uno::Any(false)),
      Property("MacroExecutionMode", uno::Any(sal_Int16(0))),
      Property("UpdateDocMode", uno::Any(sal_Int16(0))),
      Property("InteractionHandler", uno::Any(no_questions))};
  const uno::Sequence<css::beans::PropertyValue> args(properties, 5);
  Reference<css::lang::XComponent> document;
  parts_->Run("The presentation application could not open " + path, [&] {
    document =
        parts_->desktop->loadComponentFromURL(Ou(FileUrl(path)), OUString("_blank"), 0, args);
  });
  if (!document.is()) {
    throw RuntimeError(kOfficeFailed, "The presentation application could not open " + path);
  }
  Reference<css::presentation::XPresentationSupplier> supplier(document, UNO_QUERY);
  if (!supplier.is()) {
    try {
      parts_->Run("Closing", [&] {
        Reference<css::util::XCloseable> closeable(document, UNO_QUERY);
        if (closeable.is()) closeable->close(true);
      });
    } catch (const RuntimeError&) {
    }
    throw RuntimeError(kOfficeFailed, "The presentation application could not open " + path +
                                          ": not a presentation");
  }
  parts_->document = document;
  parts_->Run("Opening the show",
              [&] { parts_->presentation.set(supplier->getPresentation(), UNO_QUERY); });
  parts_->controller.clear();
  parts_->listener.clear();
}

bool UnoOffice::HasDocument() const {
  return parts_->document.is();
}

std::int32_t UnoOffice::SlideCount() {
  std::int32_t count = 0;
  parts_->Run("Counting the slides", [&] {
    Reference<css::drawing::XDrawPagesSupplier> pages(parts_->document, UNO_QUERY_THROW);
    count = pages->getDrawPages()->getCount();
  });
  return count;
}

void UnoOffice::BringToFront() {
  parts_->Run("Activating", [&] {
    Reference<css::awt::XTopWindow> top(parts_->Window(), UNO_QUERY);
    if (top.is()) top->toFront();
  });
}

void UnoOffice::SetVisible(bool visible) {
  parts_->Run("Showing the window", [&] {
    if (Reference<css::awt::XWindow> window = parts_->Window(); window.is()) {
      window->setVisible(visible);
    }
  });
}

void UnoOffice::SetMinimized(bool minimized) {
  parts_->Run("Minimizing the window", [&] {
    Reference<css::awt::XTopWindow2> top(parts_->Window(), UNO_QUERY);
    if (top.is()) top->setIsMinimized(minimized);
  });
}

void UnoOffice::SetEndless(bool endless) {
  parts_->Run("Setting the show to loop", [&] {
    parts_->ShowSettings()->setPropertyValue(OUString("IsEndless"), uno::Any(endless));
  });
  parts_->endless = endless;
}

// A slide's "Change" says how it advances: 0 on request, 1 after its own duration.
void UnoOffice::SetUseSlideTimings(bool use) {
  if (use) return;  // the slides' own settings stand
  parts_->Run("Setting the advance mode", [&] {
    Reference<css::drawing::XDrawPagesSupplier> supplier(parts_->document, UNO_QUERY_THROW);
    Reference<css::container::XIndexAccess> pages(supplier->getDrawPages(), UNO_QUERY_THROW);
    for (sal_Int32 i = 0; i < pages->getCount(); ++i) {
      Reference<css::beans::XPropertySet> page(pages->getByIndex(i), UNO_QUERY_THROW);
      page->setPropertyValue(OUString("Change"), uno::Any(sal_Int32(0)));
    }
  });
}

void UnoOffice::StartShow() {
  parts_->Run("Starting the show", [&] {
    Reference<css::beans::XPropertySet> settings = parts_->ShowSettings();
    settings->setPropertyValue(OUString("IsFullScreen"), uno::Any(true));
    // Our characters stay above the show.
    settings->setPropertyValue(OUString("IsAlwaysOnTop"), uno::Any(false));
    parts_->controller.clear();
    parts_->listener.clear();
    parts_->presentation->start();
  });
}

bool UnoOffice::AttachListener() {
  if (parts_->listener.is()) return true;
  parts_->Run("Following the show", [&] {
    Reference<css::presentation::XSlideShowController> controller =
        parts_->presentation.is() ? parts_->presentation->getController() : nullptr;
    if (!controller.is()) return;
    parts_->listener = new SlideListener(parts_->events, controller, parts_->endless);
    parts_->controller = controller;
    controller->addSlideShowListener(parts_->listener);
    parts_->events->ListenerAttached(controller->getCurrentSlideIndex() + 1);
  });
  return parts_->listener.is();
}

bool UnoOffice::ShowRunning() {
  bool running = false;
  parts_->Run("Asking for the show",
              [&] { running = parts_->presentation.is() && parts_->presentation->isRunning(); });
  return running;
}

// Moving on from the last slide of a show that does not loop leads to the office's end
// screen: the slide stays where it was and the office reports no slide ending, so the end
// is noticed here.
void UnoOffice::NextSlide() {
  if (!parts_->controller.is()) AttachListener();
  if (!parts_->controller.is()) throw RuntimeError(kOfficeFailed, "No slide show is running");
  bool passed_last = false;
  parts_->Run("Advancing the show", [&] {
    const Reference<css::presentation::XSlideShowController>& controller = parts_->controller;
    const sal_Int32 before = controller->getCurrentSlideIndex();
    const bool on_last = before + 1 >= controller->getSlideCount();
    controller->gotoNextSlide();
    passed_last = on_last && !parts_->endless && controller->getCurrentSlideIndex() == before;
  });
  if (passed_last) parts_->events->PassedLastSlide();
}

void UnoOffice::EndShow() {
  parts_->Run("Ending the show", [&] {
    if (parts_->presentation.is()) parts_->presentation->end();
  });
}

void UnoOffice::CloseWindow() {
  parts_->Run("Closing the window", [&] {
    Reference<css::frame::XModel> model(parts_->document, UNO_QUERY);
    if (!model.is() || !model->getCurrentController().is()) return;
    Reference<css::util::XCloseable> frame(model->getCurrentController()->getFrame(), UNO_QUERY);
    if (frame.is()) frame->close(true);
  });
}

void UnoOffice::CloseDocument() {
  Reference<css::util::XCloseable> document(parts_->document, UNO_QUERY);
  parts_->controller.clear();
  parts_->listener.clear();
  parts_->presentation.clear();
  parts_->document.clear();
  parts_->Run("Closing the presentation", [&] {
    if (document.is()) document->close(true);
  });
}

// The office would ask whether to save a document we changed (the show's settings count
// as changes) and wait for an answer that never comes: every document is marked unchanged
// first.
void UnoOffice::Terminate(std::chrono::milliseconds limit) {
  Reference<css::frame::XDesktop2> desktop = parts_->desktop;
  parts_->desktop.clear();
  try {
    parts_->Run(
        "Ending the office",
        [&] {
          if (!desktop.is()) return;
          Reference<css::container::XEnumeration> documents =
              desktop->getComponents()->createEnumeration();
          while (documents.is() && documents->hasMoreElements()) {
            Reference<css::util::XModifiable> document(documents->nextElement(), UNO_QUERY);
            if (document.is()) document->setModified(false);
          }
          desktop->terminate();
        },
        limit);
  } catch (const RuntimeError&) {
    // The office going away may cut the call short.
  }
}

}  // namespace rirerazo::impress
