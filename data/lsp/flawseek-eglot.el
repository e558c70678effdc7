;;; flawseek-eglot.el --- flawseek as Eglot's language server for Ada  -*- lexical-binding: t -*-
;; Load it from your init file: (load "/path/to/flawseek-eglot.el"),
;; then M-x eglot in an Ada buffer (or eglot-ensure from ada-mode-hook).
;; Eglot is built into Emacs 29; on Emacs 28 install it first (the Debian
;; package elpa-eglot, or M-x package-install RET eglot).

(require 'eglot)

;; Ahead of any other server Eglot knows for Ada.
(add-to-list 'eglot-server-programs '((ada-mode ada-ts-mode) . ("flawseek" "lsp")))

;; Check every Ada buffer as it opens:
;; (add-hook 'ada-mode-hook #'eglot-ensure)

(provide 'flawseek-eglot)
;;; flawseek-eglot.el ends here
