// Sending a command to another application's window. Only X11 has windows of other applications
// that a program may find by title and send messages to; elsewhere the lookup fails.
#include <QClipboard>
#include <QGuiApplication>
#include <QWidget>

#include "lookup/qt/LookupChannels.h"

#if defined(QEL_HAVE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace qel {
namespace {

// The message's type. The receiver finds the command number in its first 32-bit value and the
// sender's window in its second, as a command message carries them elsewhere.
constexpr char kCommandMessage[] = "_QEL_COMMAND";

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> owned(Reply* reply) {
  return ReplyPtr<Reply>(reply, &std::free);
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
  const auto reply = owned(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

struct Atoms {
  xcb_atom_t clientList;
  xcb_atom_t netWmName;
  xcb_atom_t utf8String;
};

// The top-level windows: those the window manager lists, or without one that lists them, the
// children of each root window and theirs (the clients inside frames).
std::vector<xcb_window_t> topLevelWindows(xcb_connection_t* connection, const Atoms& atoms) {
  std::vector<xcb_window_t> windows;
  std::vector<xcb_window_t> roots;
  for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem;
       xcb_screen_next(&it)) {
    roots.push_back(it.data->root);
  }
  for (xcb_window_t root : roots) {
    const auto list = owned(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, root, atoms.clientList, XCB_ATOM_WINDOW, 0, 1 << 16),
        nullptr));
    if (list && list->format == 32 && xcb_get_property_value_length(list.get()) > 0) {
      const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(list.get()));
      windows.insert(windows.end(), ids, ids + xcb_get_property_value_length(list.get()) / 4);
      continue;
    }
    const auto tree =
        owned(xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr));
    if (!tree) continue;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    std::vector<xcb_query_tree_cookie_t> cookies;
    for (int i = 0; i < count; ++i) {
      windows.push_back(children[i]);
      cookies.push_back(xcb_query_tree(connection, children[i]));
    }
    for (xcb_query_tree_cookie_t cookie : cookies) {
      const auto inner = owned(xcb_query_tree_reply(connection, cookie, nullptr));
      if (!inner) continue;
      const xcb_window_t* grandchildren = xcb_query_tree_children(inner.get());
      windows.insert(windows.end(), grandchildren,
                     grandchildren + xcb_query_tree_children_length(inner.get()));
    }
  }
  return windows;
}

QString propertyText(const xcb_get_property_reply_t* reply, const Atoms& atoms) {
  if (reply == nullptr || reply->format != 8) return QString();
  const auto* text = static_cast<const char*>(xcb_get_property_value(reply));
  const int length = xcb_get_property_value_length(reply);
  return reply->type == atoms.utf8String ? QString::fromUtf8(text, length)
                                         : QString::fromLatin1(text, length);
}

// The first window whose title (the UTF-8 _NET_WM_NAME, else WM_NAME) is `title`.
xcb_window_t findWindow(xcb_connection_t* connection, const QString& title) {
  const Atoms atoms{atom(connection, "_NET_CLIENT_LIST"), atom(connection, "_NET_WM_NAME"),
                    atom(connection, "UTF8_STRING")};
  const std::vector<xcb_window_t> windows = topLevelWindows(connection, atoms);
  // Every request first, then the replies: one round trip, not one per window.
  std::vector<std::pair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> cookies;
  for (xcb_window_t window : windows) {
    cookies.emplace_back(xcb_get_property(connection, 0, window, atoms.netWmName,
                                          XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                         xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME,
                                          XCB_GET_PROPERTY_TYPE_ANY, 0, 1024));
  }
  xcb_window_t found = XCB_WINDOW_NONE;
  for (size_t i = 0; i < windows.size(); ++i) {
    const auto netName = owned(xcb_get_property_reply(connection, cookies[i].first, nullptr));
    const auto name = owned(xcb_get_property_reply(connection, cookies[i].second, nullptr));
    if (found != XCB_WINDOW_NONE) continue;  // the replies are collected all the same
    const bool hasNetName = netName && netName->type != XCB_ATOM_NONE;
    const QString windowTitle = propertyText(hasNetName ? netName.get() : name.get(), atoms);
    if (windowTitle == title && (hasNetName || (name && name->type != XCB_ATOM_NONE)))
      found = windows[i];
  }
  return found;
}

}  // namespace

bool sendWindowMessage(const QString& title, int command, const QString& word, QWidget* owner) {
  // Only the xcb platform talks to the display: others (offscreen among them) may answer as
  // an X11 application without a connection to one.
  // An empty title would name whichever untitled window came first.
  if (title.isEmpty() || QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (connection == nullptr) return false;
  const xcb_window_t target = findWindow(connection, title);
  if (target == XCB_WINDOW_NONE) return false;

  QGuiApplication::clipboard()->setText(word);
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = target;
  message.type = atom(connection, kCommandMessage);
  message.data.data32[0] = static_cast<uint32_t>(command);
  message.data.data32[1] = owner ? static_cast<uint32_t>(owner->window()->winId()) : 0;
  const auto error = owned(xcb_request_check(
      connection, xcb_send_event_checked(connection, 0, target, XCB_EVENT_MASK_NO_EVENT,
                                         reinterpret_cast<const char*>(&message))));
  return error == nullptr;
}

}  // namespace qel

#else

namespace qel {

bool sendWindowMessage(const QString&, int, const QString&, QWidget*) { return false; }

}  // namespace qel

#endif
