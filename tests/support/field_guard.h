// Which fields of a system object a frame wrote: the object's bytes are kept
// before the frame and compared with it afterwards, field by field, so that a
// loop that runs one entry past its array into the next field is seen even
// where the value it leaves there looks harmless.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace field_guard {

struct Field {
    const char* name;
    std::size_t offset;
    std::size_t size;
};

template <class T, class Member>
Field Of(const T& object, const Member& member, const char* name) {
    const auto* base = reinterpret_cast<const unsigned char*>(&object);
    const auto* at = reinterpret_cast<const unsigned char*>(&member);
    return {name, static_cast<std::size_t>(at - base), sizeof member};
}

template <class T>
std::vector<unsigned char> Bytes(const T& object) {
    std::vector<unsigned char> bytes(sizeof object);
    std::memcpy(bytes.data(), &object, sizeof object);
    return bytes;
}

// Every listed field of the object holds the bytes it held when `before` was taken.
template <class T>
void ExpectUnchanged(const std::vector<unsigned char>& before, const T& object, std::initializer_list<Field> fields) {
    const std::vector<unsigned char> after = Bytes(object);
    for (const Field& field : fields)
        EXPECT_EQ(std::memcmp(before.data() + field.offset, after.data() + field.offset, field.size), 0)
            << field.name << " was written";
}

}  // namespace field_guard

#define GUARDED_FIELD(object, member) field_guard::Of(object, (object).member, #member)
