# SQLite for the browser stores: the pinned amalgamation built with our toolchain, or an installed
# SQLite (find_package, as from vcpkg) when the amalgamation has not been fetched.
file(STRINGS ${PROJECT_SOURCE_DIR}/deps/sqlite.lock sqlite_pins REGEX "^SQLITE_[A-Z0-9_]+=")
foreach(pin ${sqlite_pins})
    string(REGEX MATCH "^([A-Z0-9_]+)=(.*)$" matched "${pin}")
    set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
endforeach()

set(PURGEON_SQLITE_DIR ${PROJECT_SOURCE_DIR}/build/deps/sqlite-${SQLITE_VERSION} CACHE PATH
    "Folder with SQLite's amalgamation (sqlite3.c, sqlite3.h); scripts/lib/common.sh fetches it")

if(EXISTS ${PURGEON_SQLITE_DIR}/sqlite3.c)
    foreach(source c h)
        string(TOUPPER ${source} upper)
        file(SHA256 ${PURGEON_SQLITE_DIR}/sqlite3.${source} sum)
        if(NOT sum STREQUAL SQLITE_${upper}_SHA256)
            message(FATAL_ERROR "${PURGEON_SQLITE_DIR}/sqlite3.${source} does not match its pinned SHA-256")
        endif()
    endforeach()
    add_library(purgeon_sqlite STATIC ${PURGEON_SQLITE_DIR}/sqlite3.c)
    target_include_directories(purgeon_sqlite SYSTEM PUBLIC ${PURGEON_SQLITE_DIR})
    # SQLITE_WIN32_NO_OVERLAPPED: pages are read and written at the handle's own pointer rather
    # than at an OVERLAPPED offset, which under Wine posts a completion to its server on every
    # call (a round trip: clearing the large histories took 2.2 to 2.7 s, 0.6 s without). Each
    # handle serves one connection, whose mutex orders the move and the read or write.
    target_compile_definitions(purgeon_sqlite PRIVATE SQLITE_THREADSAFE=1 SQLITE_DQS=0
                               SQLITE_DEFAULT_MEMSTATUS=0 SQLITE_OMIT_LOAD_EXTENSION
                               SQLITE_OMIT_DEPRECATED SQLITE_OMIT_SHARED_CACHE SQLITE_WIN32_NO_ANSI
                               SQLITE_WIN32_NO_OVERLAPPED)
    if(MSVC)
        target_compile_options(purgeon_sqlite PRIVATE /w)
    else()
        if(WIN32)
            target_compile_options(purgeon_sqlite PRIVATE -w -O2)
        else()
            # The native builds only run tests and fuzz targets over small databases: a quick
            # build without debug information (about a third of the time) matters more there.
            target_compile_options(purgeon_sqlite PRIVATE -w -O1 -g0)
            find_package(Threads REQUIRED)
            target_link_libraries(purgeon_sqlite PUBLIC Threads::Threads ${CMAKE_DL_LIBS} m)
        endif()
    endif()
    add_library(SQLite::SQLite3 ALIAS purgeon_sqlite)
    message(STATUS "SQLite ${SQLITE_VERSION}: amalgamation from ${PURGEON_SQLITE_DIR}")
else()
    find_package(SQLite3)
    if(NOT SQLite3_FOUND)
        message(FATAL_ERROR "SQLite is missing: run scripts/test, scripts/run or scripts/package "
                            "once (they fetch the pinned amalgamation), or install SQLite for "
                            "find_package(SQLite3)")
    endif()
endif()
