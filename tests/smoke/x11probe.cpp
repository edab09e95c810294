// A small X11 client for the smoke test: waits for a top-level window by title, saves the
// screen as a PNG, and asks a window to close the way a window manager's close box does.
//   x11probe wait TITLE SECONDS    exit 0 once a mapped window has that title
//   x11probe grab FILE.png
//   x11probe close TITLE
#include <QImage>

#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

namespace {
struct Free {
    void operator()(void *p) const { std::free(p); }
};
template<typename T> using Reply = std::unique_ptr<T, Free>;

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    Reply<xcb_intern_atom_reply_t> r(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr));
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

std::string title(xcb_connection_t *c, xcb_window_t w)
{
    const xcb_atom_t wmName = XCB_ATOM_WM_NAME;
    for (const xcb_atom_t property : {atom(c, "_NET_WM_NAME"), wmName}) {
        Reply<xcb_get_property_reply_t> r(xcb_get_property_reply(
            c, xcb_get_property(c, 0, w, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr));
        if (r && xcb_get_property_value_length(r.get()) > 0)
            return std::string(static_cast<const char *>(xcb_get_property_value(r.get())),
                               xcb_get_property_value_length(r.get()));
    }
    return {};
}

// A mapped child of the root window with that title (no window manager reparents them here).
xcb_window_t findWindow(xcb_connection_t *c, xcb_window_t root, const std::string &wanted)
{
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree)
        return XCB_WINDOW_NONE;
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    for (int n = 0; n < xcb_query_tree_children_length(tree.get()); ++n) {
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[n]), nullptr));
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
            title(c, children[n]) == wanted)
            return children[n];
    }
    return XCB_WINDOW_NONE;
}

int grab(xcb_connection_t *c, xcb_screen_t *screen, const char *file)
{
    const int w = screen->width_in_pixels, h = screen->height_in_pixels;
    Reply<xcb_get_image_reply_t> image(xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0, 0, w, h, ~0u), nullptr));
    if (!image || image->depth != 24) {
        std::fprintf(stderr, "x11probe: cannot read a 24-bit screen\n");
        return 1;
    }
    const QImage picture(xcb_get_image_data(image.get()), w, h, w * 4, QImage::Format_RGB32);
    return picture.save(QString::fromLocal8Bit(file), "PNG") ? 0 : 1;
}

int closeWindow(xcb_connection_t *c, xcb_window_t window)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom(c, "WM_PROTOCOLS");
    event.data.data32[0] = atom(c, "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&event));
    // A round trip, so the server has handled the message before this client hangs up.
    Reply<xcb_get_input_focus_reply_t> sync(
        xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    return sync ? 0 : 1;
}
} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: x11probe wait TITLE SECONDS | grab FILE | close TITLE\n");
        return 2;
    }
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "x11probe: no X display\n");
        return 2;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const std::string command = argv[1];
    int result = 2;
    if (command == "wait" && argc >= 4) {
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::milliseconds(int(std::atof(argv[3]) * 1000));
        result = 1;
        while (std::chrono::steady_clock::now() < deadline) {
            if (findWindow(c, screen->root, argv[2]) != XCB_WINDOW_NONE) {
                result = 0;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    } else if (command == "grab") {
        result = grab(c, screen, argv[2]);
    } else if (command == "close") {
        const xcb_window_t w = findWindow(c, screen->root, argv[2]);
        result = w == XCB_WINDOW_NONE ? 1 : closeWindow(c, w);
    }
    xcb_disconnect(c);
    return result;
}
