#include "host/tracing/tracing_devices.h"

#include "os/key_notation.h"
#include "platform/runtime_error.h"

namespace rirerazo::host {
namespace {

std::vector<TraceField> RectFields(platform::RectTwips r) {
  return {{"left", std::int64_t{r.left}},
          {"top", std::int64_t{r.top}},
          {"width", std::int64_t{r.width}},
          {"height", std::int64_t{r.height}}};
}

// A colour stored as 0x00BBGGRR, written as #RRGGBB.
std::string ColorText(std::uint32_t bgr) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text = "#";
  for (std::uint32_t byte : {bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF}) {
    text += kHex[byte >> 4];
    text += kHex[byte & 0xF];
  }
  return text;
}

}  // namespace

// --- Shell ---

void TracingShell::Record(const std::string& op, std::vector<TraceField> fields) {
  fields.insert(fields.begin(), {"op", op});
  tracer_.Record("shell", std::move(fields));
}

void TracingShell::StartProgram(const std::string& command_line) {
  try {
    inner_.StartProgram(command_line);
  } catch (const RuntimeError& error) {
    Record("StartProgram", {{"command", command_line},
                            {"started", false},
                            {"error", std::int64_t{error.Number()}},
                            {"description", error.Description()}});
    throw;
  }
  Record("StartProgram", {{"command", command_line}, {"started", true}});
}

std::int32_t TracingShell::OpenDocument(const std::string& file, const std::string& parameters) {
  const std::int32_t result = inner_.OpenDocument(file, parameters);
  Record("OpenDocument",
         {{"file", file}, {"parameters", parameters}, {"result", std::int64_t{result}}});
  return result;
}

bool TracingShell::CloseWindowByTitle(const std::string& title) {
  const bool found = inner_.CloseWindowByTitle(title);
  Record("CloseWindow", {{"title", title}, {"found", found}});
  return found;
}

// --- Keys, clipboard, media ---

void TracingKeySender::SendKeys(const std::string& keys) {
  inner_.SendKeys(keys);
  const std::size_t strokes = os::ParseKeyNotation(keys).size();
  tracer_.Record("keys", {{"text", keys}, {"strokes", static_cast<std::int64_t>(strokes)}});
}

std::string TracingClipboard::GetText() {
  std::string text = inner_.GetText();
  tracer_.Record("clipboard", {{"op", "GetText"}, {"text", text}});
  return text;
}

void TracingClipboard::SetText(const std::string& text) {
  inner_.SetText(text);
  tracer_.Record("clipboard", {{"op", "SetText"}, {"text", text}});
}

std::uint32_t TracingMediaDevice::SendString(const std::string& command, std::string& reply) {
  const std::uint32_t code = inner_.SendString(command, reply);
  tracer_.Record(
      "media",
      {{"command", command}, {"result", static_cast<std::int64_t>(code)}, {"reply", reply}});
  return code;
}

// --- Backdrop ---

void TracingBackdrop::Record(const std::string& op, std::vector<TraceField> fields) {
  fields.insert(fields.begin(), {"op", op});
  tracer_.Record("backdrop", std::move(fields));
}

void TracingBackdrop::Create(platform::RectTwips bounds) {
  inner_.Create(bounds);
  Record("Create", RectFields(bounds));
}

void TracingBackdrop::Destroy() {
  const bool existed = inner_.Exists();
  inner_.Destroy();
  if (existed) Record("Destroy");
}

void TracingBackdrop::Show() {
  inner_.Show();
  Record("Show");
}

void TracingBackdrop::Hide() {
  inner_.Hide();
  Record("Hide");
}

void TracingBackdrop::SetColor(std::uint32_t bgr) {
  inner_.SetColor(bgr);
  Record("Color", {{"color", ColorText(bgr & 0xFFFFFF)}});
}

void TracingBackdrop::SetSlotPicture(int slot, std::shared_ptr<const platform::Picture> picture) {
  inner_.SetSlotPicture(slot, picture);
  Record("Picture", {{"slot", std::int64_t{slot}},
                     {"width_px", std::int64_t{picture ? picture->width_px : 0}},
                     {"height_px", std::int64_t{picture ? picture->height_px : 0}}});
}

void TracingBackdrop::PlaceSlot(int slot, platform::RectTwips place) {
  inner_.PlaceSlot(slot, place);
  std::vector<TraceField> fields = RectFields(place);
  fields.insert(fields.begin(), {"slot", std::int64_t{slot}});
  Record("Place", std::move(fields));
}

void TracingBackdrop::SetSlotVisible(int slot, bool visible) {
  inner_.SetSlotVisible(slot, visible);
  Record("SlotVisible", {{"slot", std::int64_t{slot}}, {"value", visible}});
}

void TracingBackdrop::PlaceCloseGlyph(int left_twips, int top_twips, const std::string& tooltip) {
  inner_.PlaceCloseGlyph(left_twips, top_twips, tooltip);
  Record(
      "CloseGlyph",
      {{"left", std::int64_t{left_twips}}, {"top", std::int64_t{top_twips}}, {"tooltip", tooltip}});
}

int TracingBackdrop::ShowContextMenu(const std::vector<std::string>& items, int x_twips,
                                     int y_twips) {
  const int chosen = inner_.ShowContextMenu(items, x_twips, y_twips);
  const bool valid = chosen >= 0 && chosen < static_cast<int>(items.size());
  Record("ContextMenu", {{"items", items},
                         {"x", std::int64_t{x_twips}},
                         {"y", std::int64_t{y_twips}},
                         {"chosen", valid ? items[chosen] : std::string()}});
  return chosen;
}

void TracingBackdrop::SetEventListener(platform::BackdropEvents* listener) {
  listener_ = listener;
  inner_.SetEventListener(listener ? this : nullptr);
}

void TracingBackdrop::OnBackdropMouseDown(platform::MouseButton button, int x_twips, int y_twips) {
  if (button == platform::MouseButton::kRight) {
    Record("UserRightClicks", {{"x", std::int64_t{x_twips}}, {"y", std::int64_t{y_twips}}});
  }
  if (listener_ != nullptr) listener_->OnBackdropMouseDown(button, x_twips, y_twips);
}

void TracingBackdrop::OnBackdropCloseClick() {
  Record("UserClicksClose");
  if (listener_ != nullptr) listener_->OnBackdropCloseClick();
}

// --- Tray ---

void TracingTray::Install(const std::string& tip, platform::TrayEvents* listener) {
  listener_ = listener;
  inner_.Install(tip, listener ? this : nullptr);
  tracer_.Record("tray", {{"op", "Install"}, {"tip", tip}});
}

void TracingTray::Remove() {
  const bool installed = inner_.Installed();
  inner_.Remove();
  if (installed) tracer_.Record("tray", {{"op", "Remove"}});
}

int TracingTray::ShowPopupMenu(const std::vector<platform::MenuItem>& items) {
  const int chosen = inner_.ShowPopupMenu(items);
  std::vector<std::string> captions;
  for (const platform::MenuItem& item : items) {
    if (item.visible) captions.push_back(item.caption);
  }
  const bool valid = chosen >= 0 && chosen < static_cast<int>(items.size());
  tracer_.Record("tray", {{"op", "Menu"},
                          {"items", captions},
                          {"chosen", valid ? items[chosen].caption : std::string()}});
  return chosen;
}

void TracingTray::OnTrayMouse(int mouse_message) {
  tracer_.Record("tray", {{"op", "Mouse"}, {"message", std::int64_t{mouse_message}}});
  if (listener_ != nullptr) listener_->OnTrayMouse(mouse_message);
}

}  // namespace rirerazo::host
