# Sources of the remote link and its line protocol, added to the engine core.
# Plain C++ and POSIX sockets: no Qt here.
target_sources(edk_nucleo PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Protocolo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EnlaceRemoto.cpp)
