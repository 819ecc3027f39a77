#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/app/detail_settings.h"
#include "core/app/main_settings.h"
#include "core/items/item_table.h"

namespace soramine {
class RenameSession;
}

namespace soramine::gui {

// What a preview of the window's settings reads, copied on the window's thread so that the
// worker shares nothing the window can change: the options, the blocks of the method's page
// and of the add-text page (whose settings the "add" modes use), the items and the selection.
struct LiveNamesRequest {
    MainSettings settings{};
    DetailSettings detail{};
    std::string pageBlock;
    std::string addTextBlock;
    std::shared_ptr<const ItemTable> items;  // shared by requests until the list changes
    std::vector<std::size_t> selection;
    std::pair<std::size_t, std::size_t> visibleRows{0, 0};  // [first, last) of the list
};

// The snapshot of the session's settings that a request needs (the items are the caller's).
LiveNamesRequest liveNamesRequest(const RenameSession& session);

// How the run would treat an item, beyond giving it its new name.
enum class LiveMark : std::uint8_t {
    kNone,      // renamed as shown, or kept
    kNumbered,  // its name is taken: it gets the "[n]" form shown
    kRefused,   // the run would refuse it: the text shown is why
    kClash,     // another item of the run gets the same name first
};

// New names of some rows, for one request (its generation number).
struct LiveNamesBatch {
    std::uint64_t generation = 0;
    bool first = false;     // the request's first batch: the entries before it are stale
    bool complete = false;  // the request's last batch
    std::vector<std::size_t> rows;
    std::vector<std::u16string> names;
    std::vector<LiveMark> marks;
    std::vector<std::u16string> reasons;  // why, for marked rows (empty otherwise)
};

// Computes the new names of the list with the preview's item loop on a thread of its own.
// Each request supersedes the one before: the running computation stops at its next item,
// and batches of an older request are never delivered. The visible rows come first, then
// the rest in batches; a last batch marks the items that share a new name with an earlier
// item of the run in the same folder.
class LiveNames final : public QObject {
    Q_OBJECT
  public:
    explicit LiveNames(QObject* parent = nullptr);
    ~LiveNames() override;

    void request(LiveNamesRequest request);
    // Stops the computation under way, without starting another.
    void cancel();
    std::uint64_t generation() const { return latest_.load(); }

  signals:
    // On the window's thread, only for the latest request.
    void namesReady(const std::shared_ptr<const LiveNamesBatch>& batch);

  private:
    class Worker;
    void work();
    // On the worker thread: queues a batch for takeDelivered.
    void deliver(std::shared_ptr<const LiveNamesBatch> batch);
    // On the window's thread: hands the oldest queued batch on, if it is still wanted.
    Q_INVOKABLE void takeDelivered();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<LiveNamesRequest> pending_;
    std::deque<std::shared_ptr<const LiveNamesBatch>> delivered_;
    bool stopping_ = false;
    std::atomic<std::uint64_t> latest_{0};
    std::thread thread_;
};

}  // namespace soramine::gui
