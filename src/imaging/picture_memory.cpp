#include "imaging/picture_memory.h"

#include <opencv2/core.hpp>

#include "common/page_buffer.h"

namespace qf {
namespace {

class PageBufferAllocator final : public cv::MatAllocator {
public:
    cv::UMatData* allocate(int dims, const int* sizes, int type, void* data, size_t* step,
                           cv::AccessFlag flags, cv::UMatUsageFlags usage) const override {
        // The caller's own memory, or a small matrix: OpenCV's allocator.
        std::size_t total = CV_ELEM_SIZE(type);
        for (int i = 0; i < dims; ++i) total *= std::size_t(sizes[i]);
        if (data || total < kPageBufferMinimum)
            return cv::Mat::getStdAllocator()->allocate(dims, sizes, type, data, step, flags,
                                                        usage);
        // Rows packed as OpenCV packs them, as its own allocator would.
        std::size_t stepBytes = CV_ELEM_SIZE(type);
        for (int i = dims - 1; i >= 0; --i) {
            if (step) step[i] = stepBytes;
            stepBytes *= std::size_t(sizes[i]);
        }
        auto* u = new cv::UMatData(this);
        void* block = allocatePages(total);
        if (!block) {
            delete u;
            cv::error(cv::Error::StsNoMem, "Failed to allocate picture memory", CV_Func, __FILE__,
                      __LINE__);
        }
        u->data = u->origdata = static_cast<uchar*>(block);
        u->size = total;
        return u;
    }
    bool allocate(cv::UMatData* u, cv::AccessFlag, cv::UMatUsageFlags) const override {
        return u != nullptr;
    }
    void deallocate(cv::UMatData* u) const override {
        if (!u) return;
        CV_Assert(u->urefcount == 0 && u->refcount == 0);
        freePages(u->origdata, u->size);
        delete u;
    }
};

}  // namespace

void usePageBuffersForPictures() {
    // Lives as long as the process: matrices keep a pointer to the
    // allocator that made them.
    static PageBufferAllocator allocator;
    cv::Mat::setDefaultAllocator(&allocator);
}

}  // namespace qf
