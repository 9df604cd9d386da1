# Sources of the remote link, added to the engine core.
target_sources(edk_nucleo PRIVATE ${CMAKE_CURRENT_LIST_DIR}/EnlaceRemoto.cpp)
