#include "app/MessageQueue.h"

#include "platform/Messages.h"

#include <mutex>
#include <string_view>
#include <utility>

namespace messagequeue {

namespace {

struct Queue {
    std::mutex guard;
    Wake wake = nullptr;
    void* wakeData = nullptr;
    platform::MessageSink previous = nullptr;
    std::vector<Message> waiting;
};

Queue& queue() {
    static Queue theQueue;
    return theQueue;
}

void queueMessage(std::string_view caption, std::string_view text) {
    Queue& q = queue();
    {
        const std::lock_guard<std::mutex> lock(q.guard);
        if (q.wake != nullptr) {
            q.waiting.push_back({std::string(caption), std::string(text)});
            q.wake(q.wakeData);
            return;
        }
    }
    platform::stderrMessageSink(caption, text);
}

}  // namespace

void open(Wake wake, void* data) {
    Queue& q = queue();
    {
        const std::lock_guard<std::mutex> lock(q.guard);
        q.wake = wake;
        q.wakeData = data;
    }
    q.previous = platform::setMessageSink(queueMessage);
}

void close() {
    Queue& q = queue();
    platform::setMessageSink(q.previous);
    const std::lock_guard<std::mutex> lock(q.guard);
    q.wake = nullptr;
    q.wakeData = nullptr;
    q.waiting.clear();
}

std::vector<Message> take() {
    Queue& q = queue();
    const std::lock_guard<std::mutex> lock(q.guard);
    return std::exchange(q.waiting, {});
}

}  // namespace messagequeue
