// The five functions other programs reach in keywright.dll by their plain names.
#pragma once

#include <windows.h>

#define KEYWRIGHT_EXPORT extern "C" __declspec(dllexport)

KEYWRIGHT_EXPORT int WINAPI SetCorvidHook(DWORD threadId);
KEYWRIGHT_EXPORT LRESULT CALLBACK VelmaraWndProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam);
KEYWRIGHT_EXPORT LRESULT CALLBACK VelmaraTreeCtrlProc(HWND window, UINT message, WPARAM wParam,
                                                      LPARAM lParam);
KEYWRIGHT_EXPORT LRESULT CALLBACK VelmaraListCtrlProc(HWND window, UINT message, WPARAM wParam,
                                                      LPARAM lParam);
KEYWRIGHT_EXPORT LRESULT CALLBACK SplitterWndProc(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam);
