// A stand-in for the system bus on a Unix socket of the test's own: it takes
// connections and never answers, stops answering after a chosen step, or
// answers like a bus with the login manager on it, sends the manager's sleep
// and wake signals and hangs up.
#pragma once

#include <gio/gio.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vztest
{

class FakeSystemBus
{
public:
    enum Answers
    {
        kNothing,   // takes the connection and says nothing, not even to authenticate
        kAuthOnly,  // authenticates, then answers nothing
        kUpToHello, // answers Hello, not the match rule
        kLogind,    // answers everything; after the sleep signal's match rule sends
                    // a sleep signal addressed to the program alone by another
                    // sender, then the manager's sleep and wake, and hangs up
    };

    FakeSystemBus(const std::string& socket_path, Answers answers) : path(socket_path), answers(answers)
    {
        unlink(path.c_str());
        if (answers == kNothing)
        {
            // The kernel completes connections up to the backlog without accept().
            listener = socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un a = {};
            a.sun_family = AF_UNIX;
            strncpy(a.sun_path, path.c_str(), sizeof(a.sun_path) - 1);
            if (bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof(a)) != 0 || listen(listener, 8) != 0)
                error = "could not listen on " + path;
            return;
        }
        std::unique_lock<std::mutex> lock(mutex);
        thread = std::thread([this] { Serve(); });
        ready.wait(lock, [this] { return started; });
    }

    ~FakeSystemBus()
    {
        if (listener >= 0)
            close(listener);
        if (thread.joinable())
        {
            g_main_loop_quit(loop);
            thread.join();
        }
        unlink(path.c_str());
    }

    std::string Address() const { return "unix:path=" + path; }
    // Empty when the bus is up.
    const std::string& Error() const { return error; }

private:
    static constexpr const char* kProgramName = ":1.5";
    static constexpr const char* kLogindName = ":1.1";

    void Serve()
    {
        context = g_main_context_new();
        g_main_context_push_thread_default(context);
        loop = g_main_loop_new(context, FALSE);
        gchar* guid = g_dbus_generate_guid();
        GError* e = nullptr;
        GDBusServer* server =
            g_dbus_server_new_sync(Address().c_str(), G_DBUS_SERVER_FLAGS_NONE, guid, nullptr, nullptr, &e);
        g_free(guid);
        if (server)
        {
            g_signal_connect(server, "new-connection", G_CALLBACK(OnNewConnection), this);
            g_dbus_server_start(server);
        }
        else
        {
            error = e ? e->message : "no server";
            g_clear_error(&e);
        }
        {
            std::lock_guard<std::mutex> lock(mutex);
            started = true;
        }
        ready.notify_one();
        g_main_loop_run(loop);
        if (server)
        {
            g_dbus_server_stop(server);
            g_object_unref(server);
        }
        std::lock_guard<std::mutex> lock(mutex);
        for (GDBusConnection* c : connections)
        {
            g_dbus_connection_close(c, nullptr, nullptr, nullptr);
            g_object_unref(c);
        }
        g_main_loop_unref(loop);
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
    }

    static gboolean OnNewConnection(GDBusServer*, GDBusConnection* connection, gpointer self)
    {
        auto* bus = static_cast<FakeSystemBus*>(self);
        std::lock_guard<std::mutex> lock(bus->mutex);
        bus->connections.push_back(G_DBUS_CONNECTION(g_object_ref(connection)));
        g_dbus_connection_add_filter(connection, OnMessage, self, nullptr);
        return TRUE;
    }

    static void Send(GDBusConnection* connection, GDBusMessage* message)
    {
        g_dbus_connection_send_message(connection, message, G_DBUS_SEND_MESSAGE_FLAGS_NONE, nullptr, nullptr);
        g_object_unref(message);
    }

    static void Reply(GDBusConnection* connection, GDBusMessage* call, GVariant* body)
    {
        GDBusMessage* reply = g_dbus_message_new_method_reply(call);
        if (body)
            g_dbus_message_set_body(reply, body);
        Send(connection, reply);
    }

    static void SendPrepareForSleep(GDBusConnection* connection, const char* sender, const char* destination,
                                    gboolean start)
    {
        GDBusMessage* s = g_dbus_message_new_signal("/org/freedesktop/login1",
                                                    "org.freedesktop.login1.Manager", "PrepareForSleep");
        g_dbus_message_set_sender(s, sender);
        if (destination)
            g_dbus_message_set_destination(s, destination);
        g_dbus_message_set_body(s, g_variant_new("(b)", start));
        Send(connection, s);
    }

    static gboolean HangUp(gpointer connection)
    {
        auto* c = static_cast<GDBusConnection*>(connection);
        g_dbus_connection_flush_sync(c, nullptr, nullptr);
        g_dbus_connection_close(c, nullptr, nullptr, nullptr);
        g_object_unref(c);
        return G_SOURCE_REMOVE;
    }

    // Runs on GDBus's worker thread for every message in and out.
    static GDBusMessage* OnMessage(GDBusConnection* connection, GDBusMessage* message, gboolean incoming,
                                   gpointer self)
    {
        auto* bus = static_cast<FakeSystemBus*>(self);
        if (!incoming)
            return message;
        const Answers answers = bus->answers;
        const char* member = g_dbus_message_get_member(message);
        const bool call = g_dbus_message_get_message_type(message) == G_DBUS_MESSAGE_TYPE_METHOD_CALL;
        const std::string name = member ? member : "";
        if (!call || answers == kAuthOnly)
        {
        }
        else if (name == "Hello")
            Reply(connection, message, g_variant_new("(s)", kProgramName));
        else if (answers == kUpToHello)
        {
        }
        else if (name == "GetNameOwner")
            Reply(connection, message, g_variant_new("(s)", kLogindName));
        else if (name == "AddMatch" || name == "RemoveMatch")
        {
            Reply(connection, message, nullptr);
            GVariant* body = g_dbus_message_get_body(message);
            const gchar* rule = nullptr;
            if (name == "AddMatch" && body && g_variant_is_of_type(body, G_VARIANT_TYPE("(s)")))
                g_variant_get(body, "(&s)", &rule);
            if (rule && strstr(rule, "PrepareForSleep"))
            {
                SendPrepareForSleep(connection, ":1.9", kProgramName, TRUE);
                SendPrepareForSleep(connection, kLogindName, nullptr, TRUE);
                SendPrepareForSleep(connection, kLogindName, nullptr, FALSE);
                // Hung up from the bus's own thread: a close asked for here
                // would go out before the signals.
                g_main_context_invoke(bus->context, HangUp, g_object_ref(connection));
            }
        }
        else
            Send(connection, g_dbus_message_new_method_error(
                                 message, "org.freedesktop.DBus.Error.UnknownMethod", "No such method"));
        g_object_unref(message);
        return nullptr;
    }

    std::string path;
    Answers answers;
    std::string error;
    int listener = -1;
    std::thread thread;
    std::mutex mutex;
    std::condition_variable ready;
    bool started = false;
    GMainContext* context = nullptr;
    GMainLoop* loop = nullptr;
    std::vector<GDBusConnection*> connections;
};

} // namespace vztest
