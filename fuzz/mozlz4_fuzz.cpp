// Fuzz target: the LZ4 reader of the browser-data checker (tests/browsers/check_clean.py), which
// unpacks Firefox's .jsonlz4 and .mozlz4 files so that a clean can be checked inside them. The
// program has no LZ4 reader of its own; the checker's is run in an embedded Python, with the lines
// it runs fed back to libFuzzer as coverage. The input is a whole file, and also a text that the
// LZ4 library packs for the reader to unpack again.
#define PY_SSIZE_T_CLEAN
#include <Python.h>
#include <lz4.h>
#include <lz4hc.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"

using namespace purgeon::fuzz;

// Edges between the checker's lines as libFuzzer's own extra coverage.
__attribute__((used, section("__libfuzzer_extra_counters"))) std::uint8_t gLineEdges[1 << 12];

// The interpreter keeps much of its heap reachable only through its own arenas, which the leak
// checker does not scan: its allocations are not this target's to judge.
extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

constexpr std::string_view kMagic("mozLz40\0", 8);

// Counts, for every line the checker runs, the edge from the line before it.
constexpr char kLineTracer[] = R"(
import sys

def trace_lines(counters, filename):
    size = len(counters)
    last = [0]

    def line(frame, event, arg):
        if event == "line":
            edge = (last[0] * 31 + frame.f_lineno) % size
            last[0] = frame.f_lineno
            if counters[edge] < 255:
                counters[edge] += 1
        return line

    def call(frame, event, arg):
        return line if frame.f_code.co_filename == filename else None

    sys.settrace(call)
)";

PyObject* gReadableForms = nullptr;

[[noreturn]] void pythonFailed(std::string_view what) {
    PyErr_Print();
    broken(what);
}

PyObject* required(PyObject* object, std::string_view what) {
    if (!object) pythonFailed(what);
    return object;
}

std::string bytesOfPython(PyObject* object) {
    char* bytes = nullptr;
    Py_ssize_t size = 0;
    if (!PyBytes_Check(object) || PyBytes_AsStringAndSize(object, &bytes, &size) != 0)
        pythonFailed("the checker gives bytes");
    return {bytes, static_cast<std::size_t>(size)};
}

std::string mozLz4File(std::string_view packed, std::uint32_t size) {
    std::string file(kMagic);
    for (int i = 0; i < 4; ++i) file += static_cast<char>((size >> (8 * i)) & 0xFF);
    return file += packed;
}

// What the checker reads in the file: its (label, bytes) forms.
std::vector<std::pair<std::string, std::string>> readableForms(std::string_view file) {
    PyObject* bytes = required(PyBytes_FromStringAndSize(file.data(), std::ssize(file)), "bytes");
    PyObject* forms = PyObject_CallOneArg(gReadableForms, bytes);
    Py_DECREF(bytes);
    if (!forms) pythonFailed("readable_forms raises nothing but the errors it reports");
    std::vector<std::pair<std::string, std::string>> result;
    if (!PyList_Check(forms)) broken("readable_forms gives a list");
    for (Py_ssize_t i = 0; i < PyList_Size(forms); ++i) {
        PyObject* form = PyList_GetItem(forms, i);
        const char* label = nullptr;
        PyObject* content = nullptr;
        if (!PyArg_ParseTuple(form, "sO", &label, &content))
            pythonFailed("each form is a label and its bytes");
        result.emplace_back(label, bytesOfPython(content));
    }
    Py_DECREF(forms);
    return result;
}

std::string packed(std::string_view text, bool high) {
    std::string out(static_cast<std::size_t>(LZ4_compressBound(static_cast<int>(text.size()))),
                    '\0');
    const int size =
        high ? LZ4_compress_HC(text.data(), out.data(), static_cast<int>(text.size()),
                               static_cast<int>(out.size()), LZ4HC_CLEVEL_MAX)
             : LZ4_compress_default(text.data(), out.data(), static_cast<int>(text.size()),
                                    static_cast<int>(out.size()));
    if (size <= 0 && !text.empty()) broken("the LZ4 library packs the text");
    out.resize(static_cast<std::size_t>(size));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Isolated: no PYTHON* variable of the environment, no user site folder, no signal handlers;
    // and no bytecode written beside the checker.
    PyConfig config;
    PyConfig_InitIsolatedConfig(&config);
    config.write_bytecode = 0;
    const PyStatus started = Py_InitializeFromConfig(&config);
    PyConfig_Clear(&config);
    if (PyStatus_Exception(started)) broken("the embedded Python starts");
    PyObject* path = PySys_GetObject("path");
    PyObject* folder = required(PyUnicode_FromString(PURGEON_CHECKER_DIR), "the checker's folder");
    PyList_Insert(path, 0, folder);
    Py_DECREF(folder);
    PyObject* checker = required(PyImport_ImportModule("check_clean"), "import check_clean");
    gReadableForms = required(PyObject_GetAttrString(checker, "readable_forms"), "readable_forms");

    PyObject* globals = PyDict_New();
    PyDict_SetItemString(globals, "__builtins__", PyEval_GetBuiltins());
    Py_XDECREF(required(PyRun_String(kLineTracer, Py_file_input, globals, globals), "tracer"));
    PyObject* counters = PyMemoryView_FromMemory(reinterpret_cast<char*>(gLineEdges),
                                                 sizeof gLineEdges, PyBUF_WRITE);
    PyObject* file = required(PyObject_GetAttrString(checker, "__file__"), "__file__");
    PyObject* install = PyDict_GetItemString(globals, "trace_lines");
    Py_XDECREF(required(PyObject_CallFunctionObjArgs(install, counters, file, nullptr), "trace"));
    Py_DECREF(file);
    Py_DECREF(counters);
    Py_DECREF(globals);
    Py_DECREF(checker);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = bytesOf(data, size);

    // Any file: the checker searches it, and unpacks it when it is Mozilla's LZ4, or says why not.
    const auto forms = readableForms(input);
    check(!forms.empty() && forms[0].first.empty() && forms[0].second == input,
          "the file itself is searched as it is");
    if (input.substr(0, kMagic.size()) == kMagic && input.size() >= 12) {
        check(forms.size() == 2, "a Mozilla LZ4 file is also searched unpacked");
        const std::uint32_t declared = static_cast<std::uint32_t>(data[8]) | (data[9] << 8) |
                                       (data[10] << 16) |
                                       (static_cast<std::uint32_t>(data[11]) << 24);
        check(forms[1].second.size() <= declared,
              "nothing longer than the header's size is taken as the unpacked text",
              forms[1].first + ": " + std::to_string(forms[1].second.size()) + " bytes, " +
                  std::to_string(declared) + " declared");
    } else {
        check(forms.size() == 1, "another file is searched only as it is");
    }

    // What the LZ4 library packs, the reader unpacks to the same bytes.
    for (const bool high : {false, true}) {
        const std::string file =
            mozLz4File(packed(input, high), static_cast<std::uint32_t>(input.size()));
        const auto unpacked = readableForms(file);
        check(unpacked.size() == 2 && unpacked[1].first == " (unpacked LZ4)" &&
                  unpacked[1].second == input,
              high ? "LZ4 packed at the highest level unpacks to what was packed"
                   : "LZ4 packed at the default level unpacks to what was packed",
              unpacked.size() == 2 ? unpacked[1].first : std::string());
    }
    return 0;
}
