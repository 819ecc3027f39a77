#include "gui/live_names.h"

#include <QMetaObject>
#include <algorithm>
#include <chrono>
#include <functional>
#include <memory_resource>
#include <string_view>
#include <unordered_map>

#include "core/engine/preview.h"
#include "core/engine/session.h"
#include "core/methods/method_list.h"
#include "core/settings/records.h"
#include "core/text/strings.h"

namespace soramine::gui {
namespace {

using Clock = std::chrono::steady_clock;
using Outcome = PreviewResult::Outcome;

// The batches after the visible rows: at least this many items, and this long apart, so that
// the window's thread takes in a few cheap batches rather than one per item.
constexpr std::size_t kBatchItems = 2048;
constexpr auto kBatchInterval = std::chrono::milliseconds(25);
// At most this many rows a batch: the window's thread takes each batch in one event, which
// has to stay well under a frame however many results come at once (with swaps, or clashes).
constexpr std::size_t kMostBatchRows = 4096;

// An item's folder and new name, as views into the item table and the preview's results.
struct FolderName {
    std::u16string_view folder;
    std::u16string_view name;
    bool operator==(const FolderName&) const = default;
};

struct FolderNameHash {
    std::size_t operator()(const FolderName& key) const {
        const std::hash<std::u16string_view> hash;
        return hash(key.folder) * 31 + hash(key.name);
    }
};

// The worker asks nothing: a method that needs the clipboard or a question shows no names.
class SilentHost final : public Host {
  public:
    std::optional<std::u16string> clipboardText() override { return std::nullopt; }
    std::optional<std::u16string> chooseFolder(std::u16string_view, std::u16string_view) override {
        return std::nullopt;
    }
    bool askYesNo(const Message&) override { return false; }
    void showMessage(const Message&) override {}
};

std::u16string numberedReason() {
    return u"同じ名前のファイルがあるため、番号を付けた名前になります";
}

}  // namespace

LiveNamesRequest liveNamesRequest(const RenameSession& session) {
    LiveNamesRequest request;
    request.settings = session.settings;
    request.detail = session.detail;
    // Every page's block: a method in its "add" mode also reads the add-text page.
    if (MethodPage* page = session.currentPage()) {
        BlockWriter out(0);
        page->saveBlock(out);
        request.pageBlock = out.bytes();
    }
    if (const auto addText = session.methods.indexOf(u"追加")) {
        BlockWriter out(0);
        session.methods.page(*addText)->saveBlock(out);
        request.addTextBlock = out.bytes();
    }
    request.selection = session.selection();
    return request;
}

// The worker thread's side: a session of its own that each request's snapshot is loaded
// into, and the observer that hands the loop's results over in batches.
class LiveNames::Worker final : public RunObserver {
  public:
    explicit Worker(LiveNames& owner) : owner_(owner) {}

    void compute(LiveNamesRequest request, std::uint64_t generation);

    void begin(std::size_t) override {}
    void step() override;
    bool cancelled() override { return owner_.latest_.load() != generation_; }
    void advance(std::size_t) override {}
    void end() override {}

  private:
    void load(LiveNamesRequest& request);
    // Sends the items the loop worked through since the last batch.
    void flush(bool complete);
    void markClashes();
    std::shared_ptr<LiveNamesBatch> newBatch(bool complete);
    // Adds a row to `batch`, first sending it on and starting another when it is full.
    void append(std::shared_ptr<LiveNamesBatch>& batch, std::size_t row, std::u16string name,
                LiveMark mark, std::u16string reason);

    LiveNames& owner_;
    RenameSession session_{IniFile(u""), makeMethodTable()};
    std::shared_ptr<const ItemTable> items_;
    std::uint64_t generation_ = 0;
    PreviewJob* job_ = nullptr;
    std::size_t done_ = 0;     // items the loop worked through
    std::size_t flushed_ = 0;  // of them, those sent
    std::size_t visible_ = 0;  // the loop's first items, sent as soon as they are done
    bool sentFirst_ = false;
    // The last computation's results, freed once the next one has sent its first batch:
    // freeing 100,000 names takes milliseconds, which a key typed meanwhile would wait for.
    PreviewResult spent_;
    Clock::time_point lastFlush_;
};

void LiveNames::Worker::load(LiveNamesRequest& request) {
    if (request.items != items_) {
        items_ = request.items;
        (void)session_.changeItems([&](ItemTable& table) { table = *items_; });
    }
    (void)session_.setSelection(std::move(request.selection));
    session_.settings = request.settings;
    session_.detail = request.detail;
    const auto loadPage = [&](MethodPage* page, const std::string& block) {
        if (!page || block.empty())
            return;
        BlockReader in(block, 0, block.size());
        page->loadBlock(in);
    };
    if (const auto addText = session_.methods.indexOf(u"追加"))
        loadPage(session_.methods.page(*addText), request.addTextBlock);
    loadPage(session_.currentPage(), request.pageBlock);
}

void LiveNames::Worker::compute(LiveNamesRequest request, std::uint64_t generation) {
    generation_ = generation;
    load(request);
    SilentHost host;
    PreviewJob job = startPreview(session_, host);
    job_ = &job;
    done_ = flushed_ = visible_ = 0;
    sentFirst_ = false;
    lastFlush_ = Clock::now();
    if (job.plan.runnable()) {
        // The run's items in the visible rows: the rows taking part are in list order.
        const std::vector<std::size_t>& rows = job.plan.rows;
        const auto [top, bottom] = request.visibleRows;
        const auto first = static_cast<std::size_t>(
            std::lower_bound(rows.begin(), rows.end(), top) - rows.begin());
        const auto last = static_cast<std::size_t>(
            std::lower_bound(rows.begin(), rows.end(), bottom) - rows.begin());
        job.firstItems = {first, last};
        visible_ = last - first;
        previewItems(job, *this);
    }
    if (!cancelled()) {
        flush(false);
        markClashes();
    }
    spent_ = finishPreview(std::move(job));
    job_ = nullptr;
}

void LiveNames::Worker::step() {
    ++done_;
    // With swaps the names are known only once the loop is over.
    if (job_->plan.allowSwaps)
        return;
    if (done_ == visible_ ||
        (done_ - flushed_ >= kBatchItems && Clock::now() - lastFlush_ >= kBatchInterval))
        flush(false);
}

std::shared_ptr<LiveNamesBatch> LiveNames::Worker::newBatch(bool complete) {
    auto batch = std::make_shared<LiveNamesBatch>();
    batch->generation = generation_;
    batch->first = !sentFirst_;
    batch->complete = complete;
    sentFirst_ = true;
    return batch;
}

void LiveNames::Worker::append(std::shared_ptr<LiveNamesBatch>& batch, std::size_t row,
                               std::u16string name, LiveMark mark, std::u16string reason) {
    if (batch->rows.size() == kMostBatchRows) {
        const bool complete = batch->complete;
        batch->complete = false;
        owner_.deliver(std::move(batch));
        batch = newBatch(complete);
    }
    batch->rows.push_back(row);
    batch->names.push_back(std::move(name));
    batch->marks.push_back(mark);
    batch->reasons.push_back(std::move(reason));
}

void LiveNames::Worker::flush(bool complete) {
    auto batch = newBatch(complete);
    const PreviewResult& result = job_->result;
    const std::size_t end = job_->plan.allowSwaps ? result.outcomes.size() : done_;
    for (std::size_t n = flushed_; n < end; ++n) {
        const std::size_t k = previewOrder(*job_, n);
        LiveMark mark = LiveMark::kNone;
        std::u16string reason;
        if (result.outcomes[k] == Outcome::kNumbered) {
            mark = LiveMark::kNumbered;
            reason = numberedReason();
        } else if (result.outcomes[k] == Outcome::kRefused) {
            mark = LiveMark::kRefused;
            reason = result.previewNew[k];
        } else if (result.outcomes[k] == Outcome::kPending) {
            continue;
        }
        append(batch, job_->plan.rows[k], result.previewNew[k], mark, std::move(reason));
    }
    flushed_ = end;
    lastFlush_ = Clock::now();
    const bool first = batch->first;
    owner_.deliver(std::move(batch));
    if (first)
        spent_ = {};
}

void LiveNames::Worker::markClashes() {
    // The first item to get a name in a folder keeps it; the run refuses or numbers the
    // later ones, which the preview (checking only the disk) shows as free.
    auto batch = newBatch(true);
    const PreviewResult& result = job_->result;
    const RunPlan& plan = job_->plan;
    // Keyed by views, so that filling the map copies no names, and its nodes in one arena,
    // freed at once: node by node, a map of 100,000 names takes milliseconds to free, which
    // the next request (a key typed meanwhile) would wait for.
    std::pmr::monotonic_buffer_resource arena;
    std::pmr::unordered_map<FolderName, std::size_t, FolderNameHash> firstRow(&arena);
    firstRow.reserve(result.outcomes.size());
    for (std::size_t k = 0; k < result.outcomes.size(); ++k) {
        if (cancelled())
            return;
        if (result.outcomes[k] != Outcome::kRenamed && result.outcomes[k] != Outcome::kNumbered)
            continue;
        const std::size_t row = plan.rows[k];
        const auto [at, added] =
            firstRow.emplace(FolderName{plan.items->folder(row), result.previewNew[k]}, row);
        if (added)
            continue;
        append(batch, row, result.previewNew[k], LiveMark::kClash,
               u"同じ実行で " + text::decimal(static_cast<long long>(at->second) + 1) +
                   u" 行目のアイテムが先にこの名前になります");
    }
    owner_.deliver(std::move(batch));
}

LiveNames::LiveNames(QObject* parent) : QObject(parent) {
    thread_ = std::thread([this] { work(); });
}

LiveNames::~LiveNames() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        ++latest_;  // the running computation stops at its next item
    }
    wake_.notify_one();
    thread_.join();
}

void LiveNames::request(LiveNamesRequest request) {
    {
        std::lock_guard lock(mutex_);
        pending_ = std::move(request);
        ++latest_;
    }
    wake_.notify_one();
}

void LiveNames::cancel() {
    std::lock_guard lock(mutex_);
    pending_.reset();
    ++latest_;
}

void LiveNames::work() {
    Worker worker(*this);
    for (;;) {
        LiveNamesRequest request;
        std::uint64_t generation = 0;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || pending_; });
            if (stopping_)
                return;
            request = std::move(*pending_);
            pending_.reset();
            generation = latest_.load();
        }
        worker.compute(std::move(request), generation);
    }
}

void LiveNames::deliver(std::shared_ptr<const LiveNamesBatch> batch) {
    // The batch crosses threads through the queue, whose mutex orders the worker's writes
    // before the window's reads; the queued call only wakes the window's thread (it is dropped
    // with this object). Each batch is taken in an event of its own, so that the window's
    // thread stays free between them.
    {
        std::lock_guard lock(mutex_);
        delivered_.push_back(std::move(batch));
    }
    QMetaObject::invokeMethod(this, "takeDelivered", Qt::QueuedConnection);
}

void LiveNames::takeDelivered() {
    std::shared_ptr<const LiveNamesBatch> batch;
    {
        std::lock_guard lock(mutex_);
        if (delivered_.empty())
            return;
        batch = std::move(delivered_.front());
        delivered_.pop_front();
    }
    // A newer request makes the batches of the older ones stale.
    if (batch->generation == latest_.load())
        emit namesReady(batch);
}

}  // namespace soramine::gui
