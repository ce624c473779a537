// Arrays over an arbitrary signed index range: three checked fixed-size forms and one that grows on access.
#pragma once

#include "foundation/Exception.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

[[noreturn]] void ThrowIndexOutOfRange(const char* File, int32_t Line, const std::string& Details,
                                       const char* Reason);

template <typename T> class TFixedArray {
public:
    TFixedArray(int32_t min, int32_t max) : min(min), d(max - min + 1) {
        if (d <= 0) ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "d>0", "d", d);
        storage = std::make_unique<T[]>(d);
    }

    T& at(int32_t i) {
        int32_t k = i - min;
        if (k < 0 || k >= d) {
            ThrowIndexOutOfRange(EBRUN_SOURCE_NAME, __LINE__,
                                 "original i: " + std::to_string(i) + ", i: " + std::to_string(k) +
                                     ", min: " + std::to_string(min) + ", d: " + std::to_string(d),
                                 "");
        }
        return storage[k];
    }
    const T& at(int32_t i) const { return const_cast<TFixedArray*>(this)->at(i); }

private:
    int32_t min;
    int32_t d;
    std::unique_ptr<T[]> storage;
};

// Stored row by row: element (x, y) at (y - ymin) * dx + (x - xmin).
template <typename T> class TMatrix {
public:
    TMatrix(int32_t xmin, int32_t xmax, int32_t ymin, int32_t ymax)
        : xmin(xmin), ymin(ymin), dx(xmax - xmin + 1), dy(ymax - ymin + 1) {
        if (dx <= 0) ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "dx>0", "dx", dx);
        if (dy <= 0) ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "dy>0", "dy", dy);
        storage = std::make_unique<T[]>(static_cast<size_t>(dx) * static_cast<size_t>(dy));
    }

    T& at(int32_t x, int32_t y) {
        int32_t kx = x - xmin, ky = y - ymin;
        if (kx < 0 || kx >= dx || ky < 0 || ky >= dy) {
            ThrowIndexOutOfRange(EBRUN_SOURCE_NAME, __LINE__,
                                 "original x: " + std::to_string(x) + ", original y: " + std::to_string(y) +
                                     ", x: " + std::to_string(kx) + ", y: " + std::to_string(ky) +
                                     ", xmin: " + std::to_string(xmin) + ", ymin: " + std::to_string(ymin) +
                                     ", dx: " + std::to_string(dx) + ", dy: " + std::to_string(dy),
                                 "");
        }
        return storage[static_cast<size_t>(ky) * dx + kx];
    }
    const T& at(int32_t x, int32_t y) const { return const_cast<TMatrix*>(this)->at(x, y); }

private:
    int32_t xmin, ymin;
    int32_t dx, dy;
    std::unique_ptr<T[]> storage;
};

// Element (x, y, z) at ((z - zmin) * dy + (y - ymin)) * dx + (x - xmin).
template <typename T> class TMatrix3D {
public:
    TMatrix3D(int32_t xmin, int32_t xmax, int32_t ymin, int32_t ymax, int32_t zmin, int32_t zmax)
        : xmin(xmin), ymin(ymin), zmin(zmin), dx(xmax - xmin + 1), dy(ymax - ymin + 1), dz(zmax - zmin + 1) {
        if (dx <= 0) ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "dx>0", "dx", dx);
        if (dy <= 0) ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "dy>0", "dy", dy);
        if (dz <= 0) ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "dz>0", "dz", dz);
        storage = std::make_unique<T[]>(static_cast<size_t>(dx) * static_cast<size_t>(dy) *
                                        static_cast<size_t>(dz));
    }

    T& at(int32_t x, int32_t y, int32_t z) {
        int32_t kx = x - xmin, ky = y - ymin, kz = z - zmin;
        if (kx < 0 || kx >= dx || ky < 0 || ky >= dy || kz < 0 || kz >= dz) {
            ThrowIndexOutOfRange(EBRUN_SOURCE_NAME, __LINE__,
                                 "original x: " + std::to_string(x) + ", original y: " + std::to_string(y) +
                                     ", original z: " + std::to_string(z) + ", x: " + std::to_string(kx) +
                                     ", y: " + std::to_string(ky) + ", z: " + std::to_string(kz) +
                                     ", xmin: " + std::to_string(xmin) + ", ymin: " + std::to_string(ymin) +
                                     ", zmin: " + std::to_string(zmin) + ", dx: " + std::to_string(dx) +
                                     ", dy: " + std::to_string(dy) + ", dz: " + std::to_string(dz),
                                 "[bug0000013]");
        }
        return storage[(static_cast<size_t>(kz) * dy + ky) * dx + kx];
    }
    const T& at(int32_t x, int32_t y, int32_t z) const { return const_cast<TMatrix3D*>(this)->at(x, y, z); }

private:
    int32_t xmin, ymin, zmin;
    int32_t dx, dy, dz;
    std::unique_ptr<T[]> storage;
};

// Grows at either end on access and never refuses an index. Invariant: start <= min <= max < start + space.
template <typename T> class TDynamicArray {
public:
    TDynamicArray(int32_t min, int32_t max, int32_t block)
        : min(min), max(max), start(min), space(max - min + 1), block(block) {
        if (space <= 0) ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "space>0", "space", space);
        if (block < 0) ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "block>=0", "block", block);
        storage = std::make_unique<T[]>(space);
    }
    TDynamicArray(int32_t min, int32_t max, int32_t block, const T& init) : TDynamicArray(min, max, block) {
        initialized = true;
        initValue = init;
        for (int32_t i = 0; i < space; i++)
            storage[i] = init;
    }

    T& at(int32_t i) {
        while (i < start)
            grow(true);
        while (i - start >= space)
            grow(false);
        while (i < min) {
            min--;
            if (initialized) storage[min - start] = initValue;
        }
        while (i > max) {
            max++;
            if (initialized) storage[max - start] = initValue;
        }
        return storage[i - start];
    }

    int32_t getMin() const { return min; }
    int32_t getMax() const { return max; }
    int32_t getStart() const { return start; }
    int32_t getSpace() const { return space; }

private:
    // Adds one step of slots below start (AtFront) or above the end, carrying only min..max over. The step
    // is at least the block and at least the present space, so that a long run of appends stays linear.
    void grow(bool AtFront) {
        int32_t step = std::max(block, space);
        if (step > INT32_MAX - space)
            ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "space<=INT32_MAX-step", "space", space);
        auto grown = std::make_unique<T[]>(static_cast<size_t>(space) + static_cast<size_t>(step));
        int32_t shift = AtFront ? step : 0;
        for (int32_t k = min; k <= max; k++)
            grown[k - start + shift] = std::move(storage[k - start]);
        storage = std::move(grown);
        if (AtFront) start -= step;
        space += step;
    }

    int32_t min, max;
    int32_t start;
    int32_t space;
    int32_t block; // the least growth step; 0: none beyond doubling
    bool initialized = false;
    T initValue{};
    std::unique_ptr<T[]> storage;
};
