#include "OwnThread.h"

#include <chrono>
#include <future>
#include <memory>
#include <thread>

void runOnOwnThread(std::function<void()> work, unsigned waitMs) {
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    std::thread([work = std::move(work), done] {
        work();
        done->set_value();
    }).detach();
    finished.wait_for(std::chrono::milliseconds(waitMs));
}
