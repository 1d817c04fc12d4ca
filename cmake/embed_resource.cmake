# Writes a C++ source that registers the bytes of INPUT as the program resource TYPE/NAME;
# run by rv_resource (cmake/Reelvault.cmake) as: cmake -DINPUT= -DOUTPUT= -DTYPE= -DNAME= -P
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Sixteen bytes a line.
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
"// Made by cmake/embed_resource.cmake from ${INPUT}.
#include \"platform/system/program_resources.h\"

namespace {

// One byte more than the file, so that an empty file makes an array too.
const unsigned char kBytes[] = {
    ${bytes}0};

const rv::ProgramResource kResource(
    \"${TYPE}\", \"${NAME}\", std::string_view(reinterpret_cast<const char*>(kBytes), ${size}));

}  // namespace
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
